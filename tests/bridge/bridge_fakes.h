#pragma once
// Stand-ins for the main window, the desktop and the devices that record what
// the app functions asked of them.
#include <string>
#include <vector>

#include "bridge/app_extension_handler.h"
#include "bridge/js_value.h"

namespace vorna::test {

struct SentMessage {
  std::string endpoint;
  uint32_t message = 0;  // kWmCopyData for SendCopyData
  uint64_t wParam = 0;
  uint64_t kind = 0;
  std::vector<uint8_t> payload;
};

class FakeChannel : public ChannelPort {
 public:
  std::string mainWindow = "main";  // empty: no main window
  int lookups = 0;
  bool postSucceeds = true;
  int64_t copyDataReply = 0;
  std::vector<SentMessage> sent;

  WindowHandle FindMainWindow() override {
    ++lookups;
    return WindowHandle{mainWindow};
  }
  bool Post(const WindowHandle& window, uint32_t message, uint64_t wParam, int64_t) override {
    if (!window) return false;
    sent.push_back({window.endpoint, message, wParam, 0, {}});
    return postSucceeds;
  }
  int64_t SendCopyData(const WindowHandle& window, uint64_t wParam, uint64_t kind,
                       const std::vector<uint8_t>& payload) override {
    if (!window) return 0;
    sent.push_back({window.endpoint, 0x004A, wParam, kind, payload});
    return copyDataReply;
  }
};

class FakeDesktop : public Desktop {
 public:
  std::u16string unicodeClipboard;
  std::string textClipboard;
  int monitors = 1;
  std::array<int, 4> second{1920, 0, 1024, 768};
  bool openUrlSucceeds = false;
  std::vector<std::u16string> openedUrls;

  bool CopyUnicodeText(const std::u16string& text) override {
    unicodeClipboard = text;
    return true;
  }
  bool CopyUtf8Text(const std::string& bytes) override {
    textClipboard = bytes;
    return true;
  }
  int MonitorCount() override { return monitors; }
  std::array<int, 4> SecondScreenRegion() override { return second; }
  bool HasKeyboard() override { return true; }
  bool ExtendDesktop() override { return true; }
  bool OpenUrl(const std::u16string& url) override {
    openedUrls.push_back(url);
    return openUrlSucceeds;
  }
};

// Absent devices that remember what reached them.
class RecordingDevices : public AbsentDevices {
 public:
  std::vector<std::string> calls;
  std::u16string scalePort = u"-";

  ScaleReading ReadScale(const std::u16string& port) override {
    scalePort = port;
    return AbsentDevices::ReadScale(port);
  }
  int32_t SetRfPower(double power) override {
    calls.push_back("setRfPower " + std::to_string(power));
    return 0;
  }
  int32_t Beep(int32_t mode) override {
    calls.push_back("beep " + std::to_string(mode));
    return 0;
  }
  int32_t DetectCard(bool includeHalted, std::u16string& uid) override {
    calls.push_back(includeHalted ? "detect all" : "detect idle");
    uid = u"A1B2C3D4";
    return 0;
  }
};

// Compact JSON-like text of a result, for comparing in tables.
std::string Show(const ResultValue& value);

}  // namespace vorna::test

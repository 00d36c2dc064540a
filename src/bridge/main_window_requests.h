#pragma once
// The main window's side of the channel: what it does with each request from
// a renderer or a worker thread, and the page callbacks it runs.
#include <cstdint>
#include <optional>
#include <string>

#include "bridge/caller_rings.h"
#include "platform/window_channel.h"

namespace vorna {

class PrintQueue;

// What the requests need from the main window and the rest of the process.
class MainWindowActions {
 public:
  virtual ~MainWindowActions() = default;
  // Runs script in the page's main frame; false when there is no page.
  virtual bool RunScriptInMainFrame(const std::string& utf8Script) = 0;
  virtual void SetFullScreen(int mode) = 0;  // 0 leave, 1 enter, 2 toggle
  // Opens the URL in an outside browser: 0 opened, 30 not.
  virtual int64_t OpenUrlOutside(const std::string& utf8Url) = 0;
  virtual PrintQueue& Queue() = 0;
  virtual CallerRing& LandlineRing() { return LandlineCallerRing(); }
  virtual CallerRing& MobileRing() { return MobileCallerRing(); }
};

// Handles the bridge's messages; nullopt for any other message.
std::optional<int64_t> HandleMainWindowRequest(const WindowMessage& message,
                                               MainWindowActions& actions);

// phoneCall("NUMBER"); with the number as a JavaScript string literal.
std::string PhoneCallScript(const std::string& number);

// Whether the text may be put on an outside browser's command line: a text
// starting with '-' would be read as an option, not a URL.
bool IsSafeBrowserArgument(const std::string& url);

// The URL of a COPYDATA_OPEN_URL payload (UTF-16LE, up to its first zero
// unit), as UTF-8.
std::string OpenUrlFromPayload(const std::vector<uint8_t>& payload);

}  // namespace vorna

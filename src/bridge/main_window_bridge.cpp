#include "bridge/main_window_bridge.h"

#include <gio/gio.h>

#include "bridge/bridge_messages.h"
#include "bridge/main_window_requests.h"
#include "browser/main_window.h"
#include "platform/usb_printers.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"

namespace vorna {
namespace {

bool LaunchChromiumFamily(const std::string& url) {
  if (!IsSafeBrowserArgument(url)) return false;
  for (const std::string& name : ChromiumFamilyBrowsers()) {
    gchar* program = g_find_program_in_path(name.c_str());
    if (!program) continue;
    gchar* argv[] = {program, const_cast<gchar*>(url.c_str()), nullptr};
    gboolean started = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr,
                                     nullptr, nullptr);
    g_free(program);
    if (started) return true;
  }
  return false;
}

class WindowActions : public MainWindowActions {
 public:
  explicit WindowActions(MainWindow& window) : window_(window) {}
  bool RunScriptInMainFrame(const std::string& utf8Script) override {
    if (!window_.WebView()) return false;
    window_.RunScriptInMainFrame(utf8Script);
    return true;
  }
  void SetFullScreen(int mode) override { window_.SetFullScreen(mode); }
  int64_t OpenUrlOutside(const std::string& utf8Url) override {
    if (LaunchChromiumFamily(utf8Url)) return kOpenUrlOpened;
    if (!utf8Url.empty() && g_app_info_launch_default_for_uri(utf8Url.c_str(), nullptr, nullptr))
      return kOpenUrlOpened;
    return kOpenUrlFailed;
  }
  PrintQueue& Queue() override { return ThePrintQueue(); }

 private:
  MainWindow& window_;
};

class InstalledBridge : public MainWindowBridge {
 public:
  InstalledBridge() {
    MainWindow::SetBridgeHandler([](MainWindow& window, const WindowMessage& message) {
      WindowActions actions(window);
      return HandleMainWindowRequest(message, actions);
    });
    printers_ = PrinterWatch::Create(
        [](PrinterChange) { HandlePrinterDeviceChange(ThePrintQueue()); });
  }
  ~InstalledBridge() override { MainWindow::SetBridgeHandler(nullptr); }

 private:
  std::unique_ptr<PrinterWatch> printers_;
};

}  // namespace

std::vector<std::string> ChromiumFamilyBrowsers() {
  return {"chromium", "chromium-browser", "google-chrome", "google-chrome-stable"};
}

std::unique_ptr<MainWindowBridge> InstallMainWindowBridge() {
  return std::make_unique<InstalledBridge>();
}

}  // namespace vorna

#pragma once
// Connects the bridge's requests to the main window and watches for printers
// arriving and leaving. Keep the returned object for the main loop's life.
#include <memory>
#include <string>
#include <vector>

namespace vorna {

class MainWindowBridge {
 public:
  virtual ~MainWindowBridge() = default;
};

std::unique_ptr<MainWindowBridge> InstallMainWindowBridge();

// Outside browsers tried before the desktop's default handler, in order.
std::vector<std::string> ChromiumFamilyBrowsers();

}  // namespace vorna

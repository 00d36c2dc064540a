#pragma once
// The browser process's context: command line, main URL, background colour
// and the window manager. Exactly one exists while the client runs.
#include <memory>
#include <string>

#include "app/command_line.h"

namespace vorna {

class WindowManager;

class AppContext {
 public:
  explicit AppContext(CommandLine commandLine);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  static AppContext* Get();

  void Initialize();  // creates the window manager
  void Shutdown();    // destroys it

  const CommandLine& GetCommandLine() const { return commandLine_; }
  const std::string& MainUrl() const { return mainUrl_; }
  unsigned BackgroundColor() const { return backgroundColor_; }  // 0xAARRGGBB
  WindowManager* GetWindowManager() const { return windowManager_.get(); }

 private:
  CommandLine commandLine_;
  bool terminateWhenAllWindowsClosed_ = true;
  bool initialized_ = false;
  bool shutDown_ = false;
  std::string mainUrl_;
  unsigned backgroundColor_ = 0xFFFFFFFF;
  std::unique_ptr<WindowManager> windowManager_;
};

}  // namespace vorna

#pragma once
// The browser process's context: command line, main URL, background colour
// and the window manager. Exactly one exists while the client runs.
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/engine_settings.h"

namespace vorna {

class EngineContext;
class WindowManager;

class AppContext {
 public:
  // Keeps the final switch list built from the process command line.
  explicit AppContext(const CommandLine& processCommandLine);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  static AppContext* Get();

  void Initialize();  // starts the engine side and creates the window manager
  void Shutdown();    // destroys both, windows first

  const CommandLine& GetCommandLine() const { return commandLine_; }
  const std::string& MainUrl() const { return mainUrl_; }
  unsigned BackgroundColor() const { return backgroundColor_; }  // 0xAARRGGBB
  WindowManager* GetWindowManager() const { return windowManager_.get(); }
  const EngineSettings& GetEngineSettings() const { return engineSettings_; }

 private:
  CommandLine commandLine_;
  bool terminateWhenAllWindowsClosed_ = true;
  bool initialized_ = false;
  bool shutDown_ = false;
  std::string mainUrl_;
  unsigned backgroundColor_ = 0xFFFFFFFF;
  EngineSettings engineSettings_;
  std::unique_ptr<EngineContext> engine_;
  std::unique_ptr<WindowManager> windowManager_;
};

}  // namespace vorna

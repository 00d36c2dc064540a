#pragma once
// Owns every top-level browser window; ends the main loop with the last one.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"

namespace vorna {

class MainWindow;

class WindowManager {
 public:
  explicit WindowManager(std::function<void()> quitLoop);
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // Creates, shows and loads a top-level window; an empty URL means StartUrl.
  MainWindow* CreateRootWindow(bool withControls, const Rect& bounds, const std::string& url);
  // Closes every window (not forced).
  void CloseAllWindows();
  // Called by a window once it is destroyed.
  void OnWindowDestroyed(MainWindow* window);
  size_t WindowCount() const { return windows_.size(); }

 private:
  std::function<void()> quitLoop_;
  std::vector<std::unique_ptr<MainWindow>> windows_;
  // Destroyed windows, freed from an idle: their signal handler may still run.
  std::vector<std::unique_ptr<MainWindow>> closing_;
  unsigned reapSource_ = 0;
};

}  // namespace vorna

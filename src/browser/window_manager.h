#pragma once
// Owns every top-level browser window; ends the main loop with the last one.
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"

namespace vorna {

class EngineContext;
class MainWindow;

// The primary screen's whole area, or its work area (without panels).
GdkRectangle PrimaryScreenArea(bool workAreaOnly = false);
// The main window's start rectangle on the primary screen.
Rect PrimaryScreenStartRect();

class WindowManager {
 public:
  // `engine` gives each new browser its context and settings; without one
  // (tests of the window logic) the engine's defaults are used.
  WindowManager(std::function<void()> quitLoop, EngineContext* engine = nullptr);
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // Creates, shows and loads a top-level window; an empty URL means StartUrl.
  // The first window created is the one behind the channel.
  MainWindow* CreateRootWindow(bool withControls, const Rect& bounds, const std::string& url);
  // The page opens a window: returns the view the engine asked for; its
  // window is built when the view is ready to show.
  WebKitWebView* CreatePopupWindow(WebKitWebView* opener);
  // Closes every window (not forced).
  void CloseAllWindows();
  // Called by a window once both its browser and its window are gone.
  void OnWindowDestroyed(MainWindow* window);
  size_t WindowCount() const { return windows_.size(); }
  // The window that answers channel messages: the first non-pop-up window
  // still open (another window of the same title takes over when it goes).
  MainWindow* ChannelWindow() const;
  unsigned BackgroundColor() const;

 private:
  WebKitWebView* NewView();

  std::function<void()> quitLoop_;
  EngineContext* engine_;
  std::vector<std::unique_ptr<MainWindow>> windows_;
  // Destroyed windows, freed from an idle: their signal handler may still run.
  std::vector<std::unique_ptr<MainWindow>> closing_;
  unsigned reapSource_ = 0;
};

}  // namespace vorna

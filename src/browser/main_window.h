#pragma once
// A top-level browser window. The first one created at start-up is the main
// window: it carries the identity FindMainWindow looks for and handles the
// window messages of the channel.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <string>

#include "app/startup.h"
#include "platform/window_channel.h"

namespace vorna {

class WindowManager;

class MainWindow {
 public:
  MainWindow(WindowManager* manager, bool withControls);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  void Initialize(const Rect& bounds, const std::string& url);
  void Close(bool force);
  void ShowMaximizedInFront();

  // The window procedure for messages arriving through the channel.
  int64_t HandleMessage(const WindowMessage& message);

  GtkWindow* Window() const { return window_; }
  WebKitWebView* WebView() const { return webView_; }

  // Used by WindowManager.
  void DetachFromManager() { manager_ = nullptr; }

 private:
  static void OnDestroy(GtkWidget* widget, gpointer self);

  WindowManager* manager_;
  bool withControls_;
  GtkWindow* window_ = nullptr;
  WebKitWebView* webView_ = nullptr;
  bool windowDestroyed_ = false;
};

}  // namespace vorna

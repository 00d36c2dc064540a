#pragma once
// A top-level browser window. The first one created at start-up is the main
// window: it carries the identity FindMainWindow looks for and handles the
// window messages of the channel.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdint>
#include <functional>
#include <optional>
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

  // The bridge handles the custom messages, WM_COPYDATA and device changes;
  // it answers nullopt for what it does not handle.
  using BridgeHandler =
      std::function<std::optional<int64_t>(MainWindow& window, const WindowMessage& message)>;
  static void SetBridgeHandler(BridgeHandler handler);

  // Runs script text in the main frame of this window's page.
  void RunScriptInMainFrame(const std::string& utf8Script);

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

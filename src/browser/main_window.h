#pragma once
// A top-level browser window. The first one created at start-up is the main
// window: it carries the identity FindMainWindow looks for and handles the
// window messages of the channel. Windows opened from links have navigation
// controls; windows the page opens are pop-ups owned by the main window.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/startup.h"
#include "platform/window_channel.h"

namespace vorna {

class WindowManager;
class LoadingDialog;

// Command identifiers of WM_COMMAND (low word of wParam).
enum WindowCommand : int {
  kCommandAbout = 104,
  kCommandExit = 105,
  kCommandBack = 200,
  kCommandForward = 201,
  kCommandReload = 202,
  kCommandStop = 203,
  kCommandDownloadError = 32002,
  kCommandPageLoaded = 32006,
  kCommandReloadStartPage = 32008,
};

class MainWindow {
 public:
  MainWindow(WindowManager* manager, bool withControls, bool isPopup = false);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds and shows the window, shows the loading dialog and starts loading.
  // An empty `bounds` lets the window manager place the window.
  void Initialize(const Rect& bounds, const std::string& url, WebKitWebView* view);
  // A pop-up: `view` was made by the engine for the page; the window is built
  // once the engine says the view is ready to show.
  void InitializeAsPopup(WebKitWebView* view);

  void Close(bool force);
  void ShowMaximizedInFront();

  // The window procedure for messages arriving through the channel.
  int64_t HandleMessage(const WindowMessage& message);
  // WM_COMMAND; false when the id is not one of this window's commands.
  bool HandleCommand(int id, int64_t argument);

  // 0 leaves full screen, 1 enters it, 2 toggles; other values do nothing.
  // Acts on the window FindMainWindow gives; one state for the process.
  void SetFullScreen(int request);
  static bool IsFullScreen();

  // The bridge handles the custom messages, WM_COPYDATA and device changes;
  // it answers nullopt for what it does not handle.
  using BridgeHandler =
      std::function<std::optional<int64_t>(MainWindow& window, const WindowMessage& message)>;
  static void SetBridgeHandler(BridgeHandler handler);

  // Runs script text in the main frame of this window's page.
  void RunScriptInMainFrame(const std::string& utf8Script);

  GtkWindow* Window() const { return window_; }
  WebKitWebView* WebView() const { return webView_; }
  bool IsPopup() const { return isPopup_; }
  bool WithControls() const { return withControls_; }
  bool HasLoadingDialog() const { return loadingDialog_ != nullptr; }

  // Used by WindowManager.
  void DetachFromManager() { manager_ = nullptr; }

 private:
  void CreateWindow(const Rect& bounds, const std::string& title, bool decorated);
  void CreateControls(GtkWidget* box);
  void ConnectViewSignals();
  void AttachView(GtkWidget* box);
  void UpdateNavigationState();
  void ApplyFullScreen(bool on);
  void MaybeNotifyDestroyed();
  void RetireView();
  void OnPageLoadFinished();
  void ShowPopup(const std::string& windowName);

  static gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self);
  static void OnWindowDestroy(GtkWidget*, gpointer self);
  static void OnViewDestroy(GtkWidget*, gpointer self);
  static void OnViewClose(WebKitWebView*, gpointer self);
  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
  static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer self);
  static void OnReadyToShow(WebKitWebView*, gpointer self);
  static gboolean OnEnterFullScreen(WebKitWebView*, gpointer self);
  static gboolean OnLeaveFullScreen(WebKitWebView*, gpointer self);
  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                 gpointer self);
  static void OnNavigationChanged(GObject*, GParamSpec*, gpointer self);

  WindowManager* manager_;
  bool withControls_;
  bool isPopup_;
  GtkWindow* window_ = nullptr;
  WebKitWebView* webView_ = nullptr;
  WebKitWebView* pendingPopupView_ = nullptr;  // our reference until it has a window
  GCancellable* popupCancellable_ = nullptr;   // reading the pop-up's name
  GtkWidget* buttons_[4] = {};                 // Back, Forward, Reload, Stop
  GtkWidget* address_ = nullptr;
  std::unique_ptr<LoadingDialog> loadingDialog_;
  bool pageUsedFullScreen_ = false;
  bool browserClosing_ = false;
  bool browserDestroyed_ = false;
  bool windowDestroyed_ = false;
  bool destroyedNotified_ = false;
};

}  // namespace vorna

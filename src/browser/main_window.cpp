#include "browser/main_window.h"

#include "app/deployment.h"
#include "browser/window_manager.h"

namespace vorna {
namespace {

MainWindow::BridgeHandler& Bridge() {
  static MainWindow::BridgeHandler handler;
  return handler;
}

}  // namespace

void MainWindow::SetBridgeHandler(BridgeHandler handler) { Bridge() = std::move(handler); }

void MainWindow::RunScriptInMainFrame(const std::string& utf8Script) {
  if (!webView_) return;
  webkit_web_view_evaluate_javascript(webView_, utf8Script.c_str(),
                                      static_cast<gssize>(utf8Script.size()), nullptr, "",
                                      nullptr, nullptr, nullptr);
}

MainWindow::MainWindow(WindowManager* manager, bool withControls)
    : manager_(manager), withControls_(withControls) {}

MainWindow::~MainWindow() {
  if (window_ && !windowDestroyed_) {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(GTK_WIDGET(window_));
  }
}

void MainWindow::Initialize(const Rect& bounds, const std::string& url) {
  window_ = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  gtk_window_set_title(window_, MainWindowTitle().c_str());
  // Outer top-left at the rectangle's corner; the size is the client area.
  gtk_window_set_gravity(window_, GDK_GRAVITY_NORTH_WEST);
  gtk_window_move(window_, bounds.x, bounds.y);
  gtk_window_set_default_size(window_, bounds.width, bounds.height);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);

  webView_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
  gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(webView_));
  gtk_widget_show_all(GTK_WIDGET(window_));
  webkit_web_view_load_uri(webView_, url.c_str());
}

void MainWindow::Close(bool force) {
  if (!window_ || windowDestroyed_) return;
  if (force) {
    gtk_widget_destroy(GTK_WIDGET(window_));
  } else {
    gtk_window_close(window_);
  }
}

void MainWindow::ShowMaximizedInFront() {
  if (!window_ || windowDestroyed_) return;
  gtk_window_maximize(window_);
  gtk_window_present(window_);
}

int64_t MainWindow::HandleMessage(const WindowMessage& message) {
  if (Bridge()) {
    if (std::optional<int64_t> handled = Bridge()(*this, message)) return *handled;
  }
  switch (message.message) {
    case kChannelActivate:
      ShowMaximizedInFront();
      return 0;
    case kWmClose:
      Close(false);
      return 0;
    case kWmCommand:
      if ((message.wParam & 0xFFFF) == 105 && manager_) manager_->CloseAllWindows();
      return 0;
    default:
      return 0;
  }
}

void MainWindow::OnDestroy(GtkWidget*, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  window->windowDestroyed_ = true;
  window->webView_ = nullptr;
  if (window->manager_) window->manager_->OnWindowDestroyed(window);
}

}  // namespace vorna

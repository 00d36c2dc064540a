#include "browser/main_window.h"

#include <cairo.h>

#include <cmath>
#include <vector>

#include "app/deployment.h"
#include "browser/loading_dialog.h"
#include "browser/popup_geometry.h"
#include "browser/window_manager.h"

namespace vorna {
namespace {

bool g_fullScreen = false;  // one state for the whole process
// The bridge normally handles it; the window acts on it when nobody does.
constexpr uint32_t kSetFullScreenMessage = 32609;

MainWindow::BridgeHandler& Bridge() {
  static MainWindow::BridgeHandler handler;
  return handler;
}

GdkRGBA ToRgba(unsigned argb) {
  return GdkRGBA{((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                 ((argb >> 24) & 0xFF) / 255.0};
}

unsigned BackgroundColor(WindowManager* manager) {
  return manager ? manager->BackgroundColor() : 0xFFFFFFFF;
}

void SetBackground(GtkWidget* widget, unsigned argb) {
  GdkRGBA rgba = ToRgba(argb);
  gchar* color = gdk_rgba_to_string(&rgba);
  gchar* css = g_strdup_printf("window { background-color: %s; }", color);
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css, -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget),
                                 GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
  g_free(css);
  g_free(color);
}

// The window icon, drawn once: the product's initial on a blue tile.
GdkPixbuf* AppIcon() {
  static GdkPixbuf* icon = [] {
    const int size = 64;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.13, 0.45, 0.85);
    cairo_rectangle(cr, 4, 4, size - 8, size - 8);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 8);
    cairo_move_to(cr, 18, 16);
    cairo_line_to(cr, 32, 48);
    cairo_line_to(cr, 46, 16);
    cairo_stroke(cr);
    cairo_destroy(cr);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, size, size);
    cairo_surface_destroy(surface);
    return pixbuf;
  }();
  return icon;
}

// Screen factor for the controls: horizontal DPI / 96.
double ScreenScale() {
  double dpi = gdk_screen_get_resolution(gdk_screen_get_default());
  return dpi > 0 ? dpi / 96.0 : 1.0;
}

void ShowMessageBox(const char* text) {
  GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_DESTROY_WITH_PARENT, GTK_MESSAGE_OTHER,
                                          GTK_BUTTONS_OK, "%s", text);
  gtk_window_set_title(GTK_WINDOW(box), "提示");
  g_signal_connect(box, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
  gtk_widget_show_all(box);
}

}  // namespace

void MainWindow::SetBridgeHandler(BridgeHandler handler) { Bridge() = std::move(handler); }

bool MainWindow::IsFullScreen() { return g_fullScreen; }

void MainWindow::RunScriptInMainFrame(const std::string& utf8Script) {
  if (!webView_) return;
  webkit_web_view_evaluate_javascript(webView_, utf8Script.c_str(),
                                      static_cast<gssize>(utf8Script.size()), nullptr, "",
                                      nullptr, nullptr, nullptr);
}

MainWindow::MainWindow(WindowManager* manager, bool withControls, bool isPopup)
    : manager_(manager), withControls_(withControls), isPopup_(isPopup) {}

MainWindow::~MainWindow() {
  if (popupCancellable_) {
    g_cancellable_cancel(popupCancellable_);
    g_object_unref(popupCancellable_);
  }
  loadingDialog_.reset();
  if (webView_) g_signal_handlers_disconnect_by_data(webView_, this);
  if (window_ && !windowDestroyed_) {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(GTK_WIDGET(window_));
  }
  if (pendingPopupView_) {
    gtk_widget_destroy(GTK_WIDGET(pendingPopupView_));
    g_object_unref(pendingPopupView_);
  }
}

void MainWindow::CreateWindow(const Rect& bounds, const std::string& title, bool decorated) {
  window_ = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  gtk_window_set_title(window_, title.c_str());
  gtk_window_set_icon(window_, AppIcon());
  gtk_window_set_decorated(window_, decorated);
  SetBackground(GTK_WIDGET(window_), BackgroundColor(manager_));
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDeleteEvent), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnWindowDestroy), this);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(window_), box);
  int controlsHeight = 0;
  if (withControls_) {
    CreateControls(box);
    controlsHeight = static_cast<int>(std::floor(24 * ScreenScale()));
  }

  if (bounds.width > 0 && bounds.height > 0) {
    // Outer top-left at the rectangle's corner; the size is the client area,
    // the controls' row added below.
    gtk_window_set_gravity(window_, GDK_GRAVITY_NORTH_WEST);
    gtk_window_move(window_, bounds.x, bounds.y);
    gtk_window_set_default_size(window_, bounds.width, bounds.height + controlsHeight);
  } else {
    GdkRectangle area = PrimaryScreenArea(true);
    gtk_window_set_default_size(window_, area.width * 3 / 4, area.height * 3 / 4);
  }
  AttachView(box);
}

void MainWindow::CreateControls(GtkWidget* box) {
  double scale = ScreenScale();
  int buttonWidth = static_cast<int>(std::floor(72 * scale));
  int buttonHeight = static_cast<int>(std::floor(24 * scale));
  int fontHeight = static_cast<int>(std::floor(14 * scale));
  gchar* css = g_strdup_printf(
      "* { font-family: Arial; font-size: %dpx; min-height: 0; padding-top: 0; "
      "padding-bottom: 0; }",
      fontHeight);
  GtkCssProvider* font = gtk_css_provider_new();
  gtk_css_provider_load_from_data(font, css, -1, nullptr);
  g_free(css);

  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  const char* labels[4] = {"Back", "Forward", "Reload", "Stop"};
  static const int ids[4] = {kCommandBack, kCommandForward, kCommandReload, kCommandStop};
  for (int i = 0; i < 4; ++i) {
    buttons_[i] = gtk_button_new_with_label(labels[i]);
    gtk_widget_set_size_request(buttons_[i], buttonWidth, buttonHeight);
    gtk_widget_set_sensitive(buttons_[i], FALSE);
    gtk_style_context_add_provider(gtk_widget_get_style_context(buttons_[i]),
                                   GTK_STYLE_PROVIDER(font),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_set_data(G_OBJECT(buttons_[i]), "command", GINT_TO_POINTER(ids[i]));
    g_signal_connect(buttons_[i], "clicked", G_CALLBACK(+[](GtkButton* button, gpointer self) {
                       static_cast<MainWindow*>(self)->HandleCommand(
                           GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "command")), 0);
                     }),
                     this);
    gtk_box_pack_start(GTK_BOX(row), buttons_[i], FALSE, FALSE, 0);
  }
  address_ = gtk_entry_new();
  gtk_widget_set_size_request(address_, -1, buttonHeight);
  gtk_widget_set_sensitive(address_, FALSE);
  gtk_style_context_add_provider(gtk_widget_get_style_context(address_), GTK_STYLE_PROVIDER(font),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  // Enter in the address loads what was typed.
  g_signal_connect(address_, "activate", G_CALLBACK(+[](GtkEntry* entry, gpointer self) {
                     auto* window = static_cast<MainWindow*>(self);
                     const char* text = gtk_entry_get_text(entry);
                     if (window->webView_ && text && *text)
                       webkit_web_view_load_uri(window->webView_, text);
                   }),
                   this);
  gtk_box_pack_start(GTK_BOX(row), address_, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(box), row, FALSE, FALSE, 0);
  g_object_unref(font);
}

void MainWindow::AttachView(GtkWidget* box) {
  if (!webView_) return;
  GdkRGBA background = ToRgba(BackgroundColor(manager_));
  webkit_web_view_set_background_color(webView_, &background);
  gtk_box_pack_start(GTK_BOX(box), GTK_WIDGET(webView_), TRUE, TRUE, 0);
}

void MainWindow::ConnectViewSignals() {
  g_signal_connect(webView_, "destroy", G_CALLBACK(OnViewDestroy), this);
  g_signal_connect(webView_, "close", G_CALLBACK(OnViewClose), this);
  g_signal_connect(webView_, "load-changed", G_CALLBACK(OnLoadChanged), this);
  g_signal_connect(webView_, "create", G_CALLBACK(OnCreate), this);
  g_signal_connect(webView_, "enter-fullscreen", G_CALLBACK(OnEnterFullScreen), this);
  g_signal_connect(webView_, "leave-fullscreen", G_CALLBACK(OnLeaveFullScreen), this);
  g_signal_connect(webView_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  if (isPopup_) g_signal_connect(webView_, "ready-to-show", G_CALLBACK(OnReadyToShow), this);
  if (withControls_) {
    g_signal_connect(webView_, "notify::is-loading", G_CALLBACK(OnNavigationChanged), this);
    g_signal_connect(webView_, "notify::uri", G_CALLBACK(OnNavigationChanged), this);
    g_signal_connect(webkit_web_view_get_back_forward_list(webView_), "changed",
                     G_CALLBACK(+[](WebKitBackForwardList*, gpointer, GList*, gpointer self) {
                       static_cast<MainWindow*>(self)->UpdateNavigationState();
                     }),
                     this);
  }
  // The engine reports no draggable page regions, so the window has no drag
  // areas of its own to hit-test.
}

void MainWindow::Initialize(const Rect& bounds, const std::string& url, WebKitWebView* view) {
  webView_ = view;
  ConnectViewSignals();
  // The off-screen variant does not exist on this engine: every window is an
  // ordinary one.
  CreateWindow(bounds, MainWindowTitle(), true);
  gtk_widget_show_all(GTK_WIDGET(window_));
  loadingDialog_ = std::make_unique<LoadingDialog>(window_);
  gtk_widget_grab_focus(GTK_WIDGET(webView_));
  webkit_web_view_load_uri(webView_, url.c_str());
}

void MainWindow::InitializeAsPopup(WebKitWebView* view) {
  pendingPopupView_ = WEBKIT_WEB_VIEW(g_object_ref_sink(view));
  webView_ = view;
  popupCancellable_ = g_cancellable_new();
  ConnectViewSignals();
}

void MainWindow::OnReadyToShow(WebKitWebView* view, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  // The engine does not hand over the name the page gave the window; it is
  // read from the new page itself.
  webkit_web_view_evaluate_javascript(
      view, "window.name", -1, nullptr, nullptr, window->popupCancellable_,
      [](GObject* source, GAsyncResult* result, gpointer self) {
        GError* error = nullptr;
        JSCValue* value =
            webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
        if (error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
          g_error_free(error);
          return;  // the window object is gone
        }
        std::string name;
        if (value && jsc_value_is_string(value)) {
          gchar* text = jsc_value_to_string(value);
          name = text;
          g_free(text);
        }
        if (value) g_object_unref(value);
        if (error) g_error_free(error);
        static_cast<MainWindow*>(self)->ShowPopup(name);
      },
      window);
}

void MainWindow::ShowPopup(const std::string& windowName) {
  if (window_ || !webView_) return;
  GdkRectangle area = PrimaryScreenArea(true);
  PopupGeometry geometry = PopupGeometryFor(windowName, area.width, area.height);
  // Sizes from the page are used as given, but never below one pixel.
  geometry.bounds.width = std::max(geometry.bounds.width, 1);
  geometry.bounds.height = std::max(geometry.bounds.height, 1);
  CreateWindow(geometry.bounds, kProductName, !geometry.captionless);
  if (FindMainWindow() && manager_) {
    if (MainWindow* owner = manager_->ChannelWindow(); owner && owner->Window())
      gtk_window_set_transient_for(window_, owner->Window());
  }
  g_object_unref(pendingPopupView_);  // the window holds the view now
  pendingPopupView_ = nullptr;
  gtk_widget_show_all(GTK_WIDGET(window_));
}

void MainWindow::Close(bool force) {
  if (!window_) {
    // A pop-up without its window yet: closing it means closing its view.
    if (webView_ && !browserClosing_) {
      browserClosing_ = true;
      webkit_web_view_try_close(webView_);
    }
    return;
  }
  if (windowDestroyed_) return;
  if (force) gtk_widget_destroy(GTK_WIDGET(window_));
  else gtk_window_close(window_);
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
      HandleCommand(static_cast<int>(message.wParam & 0xFFFF), message.lParam);
      return 0;
    case kSetFullScreenMessage:
      SetFullScreen(static_cast<int>(static_cast<int64_t>(message.wParam)));
      return 0;
    default:
      return 0;
  }
}

bool MainWindow::HandleCommand(int id, int64_t) {
  switch (id) {
    case kCommandExit:
      if (manager_) manager_->CloseAllWindows();
      return true;
    case kCommandBack:
      if (webView_) webkit_web_view_go_back(webView_);
      return true;
    case kCommandForward:
      if (webView_) webkit_web_view_go_forward(webView_);
      return true;
    case kCommandReload:
      if (webView_) webkit_web_view_reload(webView_);
      return true;
    case kCommandStop:
      if (webView_) webkit_web_view_stop_loading(webView_);
      return true;
    case kCommandDownloadError:
      ShowMessageBox("文件下载出错");
      return true;
    case kCommandPageLoaded:
      loadingDialog_.reset();
      return true;
    case kCommandReloadStartPage:
      if (webView_) {
        if (webkit_web_view_is_loading(webView_)) webkit_web_view_stop_loading(webView_);
        webkit_web_view_load_uri(webView_, StartUrl().c_str());
      }
      return true;
    default:
      return false;
  }
}

void MainWindow::SetFullScreen(int request) {
  bool wanted;
  if (request == 0) wanted = false;
  else if (request == 1) wanted = true;
  else if (request == 2) wanted = !g_fullScreen;
  else return;
  if (wanted == g_fullScreen) return;
  if (!FindMainWindow() || !manager_) return;
  MainWindow* target = manager_->ChannelWindow();
  if (!target || !target->window_) return;
  target->ApplyFullScreen(wanted);
  g_fullScreen = wanted;
}

void MainWindow::ApplyFullScreen(bool on) {
  GtkWindow* window = window_;
  if (on) {
    // No frame, covering the whole desktop; not the window manager's own
    // full-screen state.
    int width = 0, height = 0;
    gdk_window_get_geometry(gdk_get_default_root_window(), nullptr, nullptr, &width, &height);
    bool wasMaximized = gtk_window_is_maximized(window);
    if (wasMaximized) gtk_window_unmaximize(window);
    gtk_window_set_decorated(window, FALSE);
    gtk_window_move(window, 0, 0);
    gtk_window_resize(window, width, height);
    if (wasMaximized) {
      // The window manager restores the old size when it handles the
      // unmaximize; place the window again after that.
      g_object_set_data(G_OBJECT(window), "vorna-desktop-size",
                        GINT_TO_POINTER((width << 16) | (height & 0xFFFF)));
      g_timeout_add(200, +[](gpointer data) -> gboolean {
        GtkWindow* w = GTK_WINDOW(data);
        int size = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(w), "vorna-desktop-size"));
        if (g_fullScreen) {
          gtk_window_move(w, 0, 0);
          gtk_window_resize(w, size >> 16, size & 0xFFFF);
        }
        g_object_unref(w);
        return G_SOURCE_REMOVE;
      }, g_object_ref(window));
    }
    gtk_widget_show(GTK_WIDGET(window));
    if (GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window))) gdk_window_raise(gdkWindow);
  } else {
    Rect start = PrimaryScreenStartRect();
    gtk_window_set_decorated(window, TRUE);
    gtk_window_move(window, start.x, start.y);
    gtk_window_resize(window, start.width, start.height);
    gtk_widget_show(GTK_WIDGET(window));
    gtk_window_maximize(window);
    gtk_widget_queue_draw(GTK_WIDGET(window));
  }
}

void MainWindow::UpdateNavigationState() {
  if (!withControls_ || !webView_ || !buttons_[0]) return;
  bool loading = webkit_web_view_is_loading(webView_);
  gtk_widget_set_sensitive(buttons_[0], webkit_web_view_can_go_back(webView_));
  gtk_widget_set_sensitive(buttons_[1], webkit_web_view_can_go_forward(webView_));
  gtk_widget_set_sensitive(buttons_[2], !loading);
  gtk_widget_set_sensitive(buttons_[3], loading);
  gtk_widget_set_sensitive(address_, TRUE);
}

void MainWindow::OnNavigationChanged(GObject*, GParamSpec* property, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  if (g_strcmp0(property->name, "uri") == 0 && window->address_ && window->webView_) {
    const char* uri = webkit_web_view_get_uri(window->webView_);
    gtk_entry_set_text(GTK_ENTRY(window->address_), uri ? uri : "");
  }
  window->UpdateNavigationState();
}

void MainWindow::OnPageLoadFinished() {
  // The main window's dialog goes through the channel like any other
  // command; other windows act at once.
  if (manager_ && manager_->ChannelWindow() == this) {
    if (WindowHandle main = FindMainWindow())
      PostWindowMessage(main, kWmCommand, kCommandPageLoaded, 0);
    else
      loadingDialog_.reset();
  } else {
    loadingDialog_.reset();
  }
}

void MainWindow::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  if (event == WEBKIT_LOAD_FINISHED) static_cast<MainWindow*>(self)->OnPageLoadFinished();
}

// ---- closing: the browser goes first, then the window; one notification.

gboolean MainWindow::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  if (window->webView_ && !window->browserDestroyed_ && !window->browserClosing_) {
    window->browserClosing_ = true;
    // The page may run its unload handlers; "close" follows when it agrees.
    webkit_web_view_try_close(window->webView_);
    return TRUE;
  }
  return FALSE;  // destroy the window
}

void MainWindow::OnViewClose(WebKitWebView* view, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  window->browserClosing_ = true;
  if (!window->window_) window->windowDestroyed_ = true;  // a pop-up never shown
  if (window->pageUsedFullScreen_ && window->window_ && !window->windowDestroyed_) {
    window->RetireView();
    gtk_widget_destroy(GTK_WIDGET(window->window_));
    return;
  }
  gtk_widget_destroy(GTK_WIDGET(view));
  if (window->window_ && !window->windowDestroyed_) gtk_widget_destroy(GTK_WIDGET(window->window_));
}

void MainWindow::RetireView() {
  // The engine crashes the process some time after a view whose page has been
  // in full screen is destroyed. Such a view leaves its window, drops its page
  // and is kept, deliberately never released, until the process ends.
  static std::vector<WebKitWebView*> retired;
  WebKitWebView* view = webView_;
  g_signal_handlers_disconnect_by_data(view, this);
  g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(view), this);
  retired.push_back(WEBKIT_WEB_VIEW(g_object_ref(view)));
  if (GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(view)))
    gtk_container_remove(GTK_CONTAINER(parent), GTK_WIDGET(view));
  webkit_web_view_load_uri(view, "about:blank");
  webView_ = nullptr;
  browserDestroyed_ = true;
}

void MainWindow::OnViewDestroy(GtkWidget*, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  window->browserDestroyed_ = true;
  window->webView_ = nullptr;
  if (window->pendingPopupView_) {
    g_object_unref(window->pendingPopupView_);  // disposal holds its own reference
    window->pendingPopupView_ = nullptr;
  }
  window->MaybeNotifyDestroyed();
}

void MainWindow::OnWindowDestroy(GtkWidget*, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  window->windowDestroyed_ = true;
  window->loadingDialog_.reset();
  window->MaybeNotifyDestroyed();
}

void MainWindow::MaybeNotifyDestroyed() {
  if (!windowDestroyed_ || !browserDestroyed_ || destroyedNotified_) return;
  destroyedNotified_ = true;
  if (manager_) manager_->OnWindowDestroyed(this);
}

// ---- the page asks for windows and full screen

GtkWidget* MainWindow::OnCreate(WebKitWebView* view, WebKitNavigationAction*, gpointer self) {
  auto* window = static_cast<MainWindow*>(self);
  if (!window->manager_) return nullptr;
  return GTK_WIDGET(window->manager_->CreatePopupWindow(view));
}

gboolean MainWindow::OnEnterFullScreen(WebKitWebView* view, gpointer self) {
  static_cast<MainWindow*>(self)->pageUsedFullScreen_ = true;
  // The page's full screen maximizes the window (or restores a maximized one)
  // instead of taking the whole screen.
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
  if (!GTK_IS_WINDOW(top)) return TRUE;
  if (gtk_window_is_maximized(GTK_WINDOW(top))) gtk_window_unmaximize(GTK_WINDOW(top));
  else gtk_window_maximize(GTK_WINDOW(top));
  return TRUE;
}

gboolean MainWindow::OnLeaveFullScreen(WebKitWebView* view, gpointer) {
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
  if (GTK_IS_WINDOW(top)) gtk_window_unmaximize(GTK_WINDOW(top));
  return TRUE;
}

gboolean MainWindow::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer self) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
      type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION)
    return FALSE;
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  unsigned button = webkit_navigation_action_get_mouse_button(action);
  unsigned modifiers = webkit_navigation_action_get_modifiers(action);
  bool newTab = button == 2 || (button == 1 && (modifiers & GDK_CONTROL_MASK));
  auto* window = static_cast<MainWindow*>(self);
  if (!newTab || !window->manager_) return FALSE;
  // A link opened "in a new tab" becomes a window with navigation controls.
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  if (uri) window->manager_->CreateRootWindow(true, Rect{}, uri);
  webkit_policy_decision_ignore(decision);
  return TRUE;
}

}  // namespace vorna

#include "browser/window_manager.h"

#include <glib.h>
#include <gtk/gtk.h>

#include <algorithm>

#include "app/deployment.h"
#include "browser/engine_context.h"
#include "browser/main_window.h"

namespace vorna {

GdkRectangle PrimaryScreenArea(bool workAreaOnly) {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
  if (!monitor && display) monitor = gdk_display_get_monitor(display, 0);
  GdkRectangle area{0, 0, 1024, 768};
  if (monitor && workAreaOnly) gdk_monitor_get_workarea(monitor, &area);
  else if (monitor) gdk_monitor_get_geometry(monitor, &area);
  return area;
}

Rect PrimaryScreenStartRect() {
  GdkRectangle area = PrimaryScreenArea();
  return MainWindowStartRect(area.width, area.height);
}

WindowManager::WindowManager(std::function<void()> quitLoop, EngineContext* engine)
    : quitLoop_(std::move(quitLoop)), engine_(engine) {}

WindowManager::~WindowManager() {
  // Windows still open at this point are torn down without notifications.
  if (reapSource_) g_source_remove(reapSource_);
  for (auto& window : windows_) window->DetachFromManager();
  windows_.clear();
  closing_.clear();
}

unsigned WindowManager::BackgroundColor() const {
  return engine_ ? engine_->BackgroundColor() : 0xFFFFFFFF;
}

WebKitWebView* WindowManager::NewView() {
  // Per-browser settings hold only the off-screen frame rate, which has no
  // use here: every view is an ordinary on-screen widget.
  if (!engine_) return WEBKIT_WEB_VIEW(webkit_web_view_new());
  WebKitWebContext* context = engine_->ContextForNewBrowser();
  auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                            "settings", engine_->Settings(), nullptr));
  g_object_unref(context);  // the view keeps its context
  return view;
}

MainWindow* WindowManager::CreateRootWindow(bool withControls, const Rect& bounds,
                                            const std::string& url) {
  auto window = std::make_unique<MainWindow>(this, withControls);
  MainWindow* raw = window.get();
  windows_.push_back(std::move(window));
  raw->Initialize(bounds, url.empty() ? StartUrl() : url, NewView());
  return raw;
}

WebKitWebView* WindowManager::CreatePopupWindow(WebKitWebView* opener) {
  // A related view shares the opener's context and web process, as
  // window.open needs.
  auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", opener,
                                            "settings", webkit_web_view_get_settings(opener),
                                            nullptr));
  auto window = std::make_unique<MainWindow>(this, false, true);
  window->InitializeAsPopup(view);
  windows_.push_back(std::move(window));
  return view;
}

MainWindow* WindowManager::ChannelWindow() const {
  for (const auto& window : windows_)
    if (!window->IsPopup()) return window.get();
  return nullptr;
}

void WindowManager::CloseAllWindows() {
  // Closing may destroy windows and change the list.
  std::vector<MainWindow*> open;
  for (auto& window : windows_) open.push_back(window.get());
  for (MainWindow* window : open) window->Close(false);
}

void WindowManager::OnWindowDestroyed(MainWindow* window) {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [window](const auto& owned) { return owned.get() == window; });
  if (it == windows_.end()) return;
  // The window object may still be on the stack of its own signal handler.
  closing_.push_back(std::move(*it));
  windows_.erase(it);
  if (!reapSource_)
    reapSource_ = g_idle_add(
        [](gpointer self) -> gboolean {
          auto* manager = static_cast<WindowManager*>(self);
          manager->closing_.clear();
          manager->reapSource_ = 0;
          return G_SOURCE_REMOVE;
        },
        this);
  if (windows_.empty() && quitLoop_) quitLoop_();
}

}  // namespace vorna

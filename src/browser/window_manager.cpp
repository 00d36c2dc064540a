#include "browser/window_manager.h"

#include <glib.h>

#include <algorithm>

#include "app/deployment.h"
#include "browser/main_window.h"

namespace vorna {

WindowManager::WindowManager(std::function<void()> quitLoop) : quitLoop_(std::move(quitLoop)) {}

WindowManager::~WindowManager() {
  // Windows still open at this point are torn down without notifications.
  if (reapSource_) g_source_remove(reapSource_);
  for (auto& window : windows_) window->DetachFromManager();
  windows_.clear();
  closing_.clear();
}

MainWindow* WindowManager::CreateRootWindow(bool withControls, const Rect& bounds,
                                            const std::string& url) {
  auto window = std::make_unique<MainWindow>(this, withControls);
  MainWindow* raw = window.get();
  windows_.push_back(std::move(window));
  raw->Initialize(bounds, url.empty() ? StartUrl() : url);
  return raw;
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

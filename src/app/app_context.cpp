#include "app/app_context.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>

#include "app/deployment.h"
#include "app/paths.h"
#include "browser/engine_context.h"
#include "browser/window_manager.h"

namespace vorna {
namespace {

AppContext* g_context = nullptr;

unsigned ToByte(double channel) {
  return static_cast<unsigned>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

}  // namespace

AppContext::AppContext(const CommandLine& processCommandLine)
    : commandLine_(ProcessBrowserSwitches(processCommandLine)), mainUrl_(StartUrl()) {
  if (commandLine_.HasSwitch("background-color")) {
    GdkRGBA rgba;
    if (gdk_rgba_parse(&rgba, commandLine_.GetSwitchValue("background-color").c_str()))
      backgroundColor_ = (ToByte(rgba.alpha) << 24) | (ToByte(rgba.red) << 16) |
                         (ToByte(rgba.green) << 8) | ToByte(rgba.blue);
  }
  g_context = this;
}

AppContext::~AppContext() {
  Shutdown();
  if (g_context == this) g_context = nullptr;
}

AppContext* AppContext::Get() { return g_context; }

void AppContext::Initialize() {
  if (initialized_) return;
  engineSettings_ = PopulateEngineSettings(commandLine_, SystemLanguage(), backgroundColor_,
                                           ProgramDirectory());
  // The main loop is always GTK's on the main thread: a multi-threaded
  // message loop has no counterpart and the switch is only recorded.
  engine_ = std::make_unique<EngineContext>(engineSettings_, ReadRequestContextRules(commandLine_),
                                            ProgramDirectory(), ProfileFolder(), LoadDeployment());
  windowManager_ = std::make_unique<WindowManager>(
      [this] {
        if (terminateWhenAllWindowsClosed_) gtk_main_quit();
      },
      engine_.get());
  initialized_ = true;
}

void AppContext::Shutdown() {
  if (!initialized_ || shutDown_) return;
  windowManager_.reset();
  engine_.reset();
  shutDown_ = true;
}

}  // namespace vorna

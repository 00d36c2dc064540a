// The client's entry point: single instance, start-up, main loop, shutdown.
#include <gtk/gtk.h>

#include <memory>

#include "app/app_context.h"
#include "app/deployment.h"
#include "app/paths.h"
#include "app/startup.h"
#include "app/text_encoding.h"
#include "bridge/main_window_bridge.h"
#include "browser/main_window.h"
#include "browser/window_manager.h"
#include "log/log.h"
#include "platform/window_channel.h"
#include "printing/print_thread.h"

namespace {

// Asks the running instance to come to the front; true when there is one.
bool ActivateRunningInstance() {
  vorna::WindowHandle running = vorna::FindMainWindow();
  if (!running) return false;
  vorna::PostWindowMessage(running, vorna::kChannelActivate, 0, 0);
  return true;
}

vorna::Rect PrimaryScreenStartRect() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  GdkRectangle area{0, 0, 1024, 768};
  if (monitor) gdk_monitor_get_geometry(monitor, &area);
  return vorna::MainWindowStartRect(area.width, area.height);
}

}  // namespace

int main(int argc, char** argv) {
  if (ActivateRunningInstance()) return 0;

  // Messages for the main window arrive here; the window binds its identity
  // before anything else starts so that two racing starts cannot both win.
  vorna::MainWindow* mainWindow = nullptr;
  auto channel = vorna::WindowChannelListener::Create(
      vorna::kWindowClass, vorna::MainWindowTitle(), [&mainWindow](const vorna::WindowMessage& m) {
        return mainWindow ? mainWindow->HandleMessage(m) : int64_t{0};
      });
  if (!channel) return ActivateRunningInstance() ? 0 : 1;

  vorna::HandleClearCacheRequest();

  vorna::CommandLine commandLine(argc, argv);
  g_set_prgname(vorna::kWindowClass);
  gdk_set_program_class(vorna::kWindowClass);
  if (!gtk_init_check(&argc, &argv)) {
    vorna::WriteSoftwareLog(u"无法连接到显示服务器");
    return 1;
  }

  auto context = std::make_unique<vorna::AppContext>(commandLine);
  context->Initialize();
  vorna::ChoosePrinterCodePage();

  auto bridge = vorna::InstallMainWindowBridge();  // page requests and callbacks
  mainWindow = context->GetWindowManager()->CreateRootWindow(false, PrimaryScreenStartRect(),
                                                             context->MainUrl());

  vorna::EnsureFirewallRule(vorna::FirewallFile(), vorna::AddFirewallRuleForMobileCalls);
  vorna::StartPrintThread();

  gtk_main();

  mainWindow = nullptr;
  context->Shutdown();
  context.reset();
  channel.reset();
  vorna::PurgeOldLogs(15);
  vorna::StopPrintThread();
  return 0;
}

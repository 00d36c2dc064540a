// The client's entry point: single instance, start-up, main loop, shutdown.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <memory>

#include "app/app_context.h"
#include "app/deployment.h"
#include "app/engine_settings.h"
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

}  // namespace

int main(int argc, char** argv) {
  if (ActivateRunningInstance()) return 0;

  // Messages for the main window arrive here; the window binds its identity
  // before anything else starts so that two racing starts cannot both win.
  // Messages go to the first browser window still open, as a lookup by
  // class and title would find it.
  std::unique_ptr<vorna::AppContext> context;
  auto channel = vorna::WindowChannelListener::Create(
      vorna::kWindowClass, vorna::MainWindowTitle(), [&context](const vorna::WindowMessage& m) {
        vorna::WindowManager* windows = context ? context->GetWindowManager() : nullptr;
        vorna::MainWindow* target = windows ? windows->ChannelWindow() : nullptr;
        return target ? target->HandleMessage(m) : int64_t{0};
      });
  if (!channel) return ActivateRunningInstance() ? 0 : 1;

  vorna::InstallEngineLogWriter(vorna::ProgramDirectory() + "log/errorLog.txt");
  vorna::HandleClearCacheRequest();

  vorna::CommandLine commandLine(argc, argv);
  g_set_prgname(vorna::kWindowClass);
  gdk_set_program_class(vorna::kWindowClass);
  if (!gtk_init_check(&argc, &argv)) {
    vorna::WriteSoftwareLog(u"无法连接到显示服务器");
    return 1;
  }

  context = std::make_unique<vorna::AppContext>(commandLine);
  context->Initialize();
  vorna::ChoosePrinterCodePage();

  auto bridge = vorna::InstallMainWindowBridge();  // page requests and callbacks
  context->GetWindowManager()->CreateRootWindow(false, vorna::PrimaryScreenStartRect(),
                                                context->MainUrl());

  // A session ending or a terminal interrupt closes the windows the normal
  // way, so the cookies are saved and shutdown runs in order.
  for (int signal : {SIGTERM, SIGINT, SIGHUP})
    g_unix_signal_add(
        signal,
        [](gpointer data) -> gboolean {
          auto* owner = static_cast<std::unique_ptr<vorna::AppContext>*>(data);
          if (*owner && (*owner)->GetWindowManager()) (*owner)->GetWindowManager()->CloseAllWindows();
          return G_SOURCE_CONTINUE;
        },
        &context);

  vorna::EnsureFirewallRule(vorna::FirewallFile(), vorna::AddFirewallRuleForMobileCalls);
  vorna::StartPrintThread();

  gtk_main();

  context->Shutdown();
  context.reset();
  channel.reset();
  vorna::PurgeOldLogs(15);
  vorna::StopPrintThread();
  return 0;
}

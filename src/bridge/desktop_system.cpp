// The real desktop for the renderer: GDK for screens and the clipboard, udev
// for keyboards, xrandr to extend the desktop, GIO to open URLs.
#include <gio/gio.h>
#include <X11/extensions/Xrandr.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <sys/wait.h>
#include <unistd.h>


#include "app/text_encoding.h"
#include "bridge/desktop.h"
#include "bridge/xrandr_outputs.h"
#include "platform/keyboards.h"

namespace vorna {
namespace {

constexpr gint64 kExtendWaitMicroseconds = 5 * G_USEC_PER_SEC;

GdkDisplay* DefaultDisplay() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) {
    // The web process may not have connected to the display yet.
    gtk_init_check(nullptr, nullptr);
    display = gdk_display_get_default();
  }
  return display;
}

GtkClipboard* Clipboard() {
  GdkDisplay* display = DefaultDisplay();
  return display ? gtk_clipboard_get_for_display(display, GDK_SELECTION_CLIPBOARD) : nullptr;
}

// The desktop's monitors. On X11 they come from RandR, which also knows
// monitors defined without an output of their own; elsewhere from GDK.
std::vector<MonitorArea> Monitors() {
  std::vector<MonitorArea> monitors;
  GdkDisplay* display = DefaultDisplay();
  if (!display) return monitors;
  if (GDK_IS_X11_DISPLAY(display)) {
    ::Display* x = gdk_x11_display_get_xdisplay(display);
    int event, error, major = 0, minor = 0;
    if (XRRQueryExtension(x, &event, &error) && XRRQueryVersion(x, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
      int count = 0;
      XRRMonitorInfo* list = XRRGetMonitors(x, DefaultRootWindow(x), True, &count);
      for (int i = 0; i < count; ++i)
        monitors.push_back({list[i].x, list[i].y, list[i].width, list[i].height,
                            list[i].primary != 0});
      if (list) XRRFreeMonitors(list);
      if (!monitors.empty()) return monitors;
    }
  }
  GdkMonitor* primary = gdk_display_get_primary_monitor(display);
  for (int i = 0, n = gdk_display_get_n_monitors(display); i < n; ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, i);
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    monitors.push_back({area.x, area.y, area.width, area.height, monitor == primary});
  }
  return monitors;
}

enum class RunResult { kNotStarted, kFinished, kStillRunning };

// Runs a program, collecting its output, until it ends or the deadline
// (monotonic microseconds) passes. A program still running is reaped later.
RunResult RunUntil(const std::vector<std::string>& command, gint64 deadline, std::string* output) {
  std::vector<gchar*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<gchar*>(a.c_str()));
  argv.push_back(nullptr);
  GPid pid = 0;
  gint out = -1;
  if (!g_spawn_async_with_pipes(nullptr, argv.data(), nullptr,
                                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH |
                                                         G_SPAWN_DO_NOT_REAP_CHILD |
                                                         G_SPAWN_STDERR_TO_DEV_NULL),
                                nullptr, nullptr, &pid, nullptr, output ? &out : nullptr, nullptr,
                                nullptr))
    return RunResult::kNotStarted;
  bool outputOpen = output != nullptr;
  while (g_get_monotonic_time() < deadline) {
    if (outputOpen) {
      GPollFD fd{out, G_IO_IN | G_IO_HUP, 0};
      g_poll(&fd, 1, 50);
      if (fd.revents) {
        char buffer[4096];
        ssize_t n = read(out, buffer, sizeof buffer);
        if (n > 0)
          output->append(buffer, static_cast<size_t>(n));
        else
          outputOpen = false;
      }
    } else {
      g_usleep(20 * 1000);
    }
    int status;
    if (!outputOpen && waitpid(pid, &status, WNOHANG) == pid) {
      if (out >= 0) close(out);
      return RunResult::kFinished;
    }
  }
  if (out >= 0) close(out);
  g_child_watch_add(pid, [](GPid child, gint, gpointer) { g_spawn_close_pid(child); }, nullptr);
  return RunResult::kStillRunning;
}

class SystemDesktop : public Desktop {
 public:
  bool CopyUnicodeText(const std::u16string& text) override {
    return CopyUtf8Text(Utf16ToUtf8(text));
  }

  bool CopyUtf8Text(const std::string& bytes) override {
    GtkClipboard* clipboard = Clipboard();
    if (!clipboard) return false;
    gtk_clipboard_set_text(clipboard, bytes.c_str(), static_cast<gint>(bytes.size()));
    return true;
  }

  int MonitorCount() override { return static_cast<int>(Monitors().size()); }

  std::array<int, 4> SecondScreenRegion() override {
    MonitorArea second = SecondMonitor(Monitors());
    return {second.x, second.y, second.width, second.height};
  }

  bool HasKeyboard() override { return AnyKeyboardPresent(); }

  bool ExtendDesktop() override {
    gint64 deadline = g_get_monotonic_time() + kExtendWaitMicroseconds;
    std::string query;
    RunResult listed = RunUntil({"xrandr", "--query"}, deadline, &query);
    if (listed == RunResult::kNotStarted) return false;
    if (listed == RunResult::kStillRunning) return true;
    std::vector<std::string> command = ExtendDesktopCommand(ParseXrandrOutputs(query));
    if (command.empty()) return true;  // nothing to extend onto
    return RunUntil(command, deadline, nullptr) != RunResult::kNotStarted;
  }

  bool OpenUrl(const std::u16string& url) override {
    std::string utf8 = Utf16ToUtf8(url);
    return !utf8.empty() && g_app_info_launch_default_for_uri(utf8.c_str(), nullptr, nullptr);
  }
};

}  // namespace

std::unique_ptr<Desktop> MakeSystemDesktop() { return std::make_unique<SystemDesktop>(); }

}  // namespace vorna

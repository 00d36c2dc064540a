#include "two_screen_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

namespace vorna::test {

TwoScreenDisplay::TwoScreenDisplay() {
  for (int n = 150; n < 250; ++n) {
    std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
    if (access(socket.c_str(), F_OK) == 0 || access(lock.c_str(), F_OK) == 0) continue;
    std::string display = ":" + std::to_string(n);
    server_ = fork();
    if (server_ == 0) {
      execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "2944x1080x24", "+extension",
             "RANDR", "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) g_usleep(100 * 1000);
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return;
    monitorClient_ = d;
    Window root = DefaultRootWindow(d);
    XRRScreenResources* resources = XRRGetScreenResources(d, root);
    if (!resources || resources->noutput < 1) {
      if (resources) XRRFreeScreenResources(resources);
      return;
    }
    struct Area {
      const char* name;
      int x, width, height;
      bool primary;
    };
    for (const Area& area :
         {Area{"LEFT", 0, 1920, 1080, true}, Area{"RIGHT", 1920, 1024, 768, false}}) {
      XRRMonitorInfo* monitor = XRRAllocateMonitor(d, area.primary ? 1 : 0);
      monitor->name = XInternAtom(d, area.name, False);
      monitor->x = area.x;
      monitor->y = 0;
      monitor->width = area.width;
      monitor->height = area.height;
      monitor->mwidth = area.width / 4;
      monitor->mheight = area.height / 4;
      monitor->primary = area.primary;
      // The one output belongs to the primary monitor.
      if (area.primary) monitor->outputs[0] = resources->outputs[0];
      XRRSetMonitor(d, root, monitor);
      XRRFreeMonitors(monitor);
    }
    XRRFreeScreenResources(resources);
    XSync(d, False);
    name_ = display;
    return;
  }
}

TwoScreenDisplay::~TwoScreenDisplay() {
  if (monitorClient_) XCloseDisplay(static_cast<Display*>(monitorClient_));
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
}

ClipboardText ReadClipboard(const std::string& displayName, const char* targetName) {
  ClipboardText result;
  struct Closer {
    void operator()(Display* d) const { XCloseDisplay(d); }
  };
  std::unique_ptr<Display, Closer> display(XOpenDisplay(displayName.c_str()));
  if (!display) return result;
  Display* d = display.get();
  Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
  Atom target = XInternAtom(d, targetName, False);
  Atom property = XInternAtom(d, "VORNA_CLIPBOARD_TEST", False);
  XConvertSelection(d, clipboard, target, property, window, CurrentTime);
  XFlush(d);
  gint64 deadline = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
  while (g_get_monotonic_time() < deadline) {
    if (!XPending(d)) {
      g_usleep(20 * 1000);
      continue;
    }
    XEvent event;
    XNextEvent(d, &event);
    if (event.type != SelectionNotify) continue;
    if (event.xselection.property == None) return result;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, window, property, 0, 1 << 20, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success) {
      result.ok = true;
      if (data) result.text.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) XFree(data);
    return result;
  }
  return result;
}

}  // namespace vorna::test

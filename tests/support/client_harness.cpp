#include "client_harness.h"

// Before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#ifndef VORNA_PROGRAM_DIR
#error "VORNA_PROGRAM_DIR must name the build's program directory"
#endif

namespace vorna::test {

bool WaitFor(const std::function<bool()>& condition, double seconds) {
  gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
  while (g_get_monotonic_time() < deadline) {
    if (condition()) return true;
    g_usleep(50 * 1000);
  }
  return condition();
}

ClientHarness::ClientHarness() {
  programDir_ = root_ / "program/";
  namespace fs = std::filesystem;
  fs::copy(VORNA_PROGRAM_DIR, programDir_, fs::copy_options::recursive);
  // Start like a fresh installation: no state left in build/bin by other runs.
  fs::remove_all(programDir_ + "log");
  fs::create_directories(programDir_ + "log");
  for (const char* state : {"vadid.ini", "deployment.ini"}) fs::remove(programDir_ + state);
  for (const char* sub : {"data", "config", "cache", "lab", "home", "runtime"})
    fs::create_directories(root_ / sub);
  fs::permissions(root_ / "runtime", fs::perms::owner_all);
}

ClientHarness::~ClientHarness() {
  bool stillRunning = Running();
  Kill();
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!test || !test->result()->Failed()) return;
  // What the client said, to tell a crash or a refusal from a slow start.
  std::fprintf(stderr, "--- client (%s at the end of the test): output ---\n%s",
               stillRunning ? "running" : "ended", ReadFileBytes(root_ / "client-output.txt").c_str());
  std::fprintf(stderr, "--- log/errorLog.txt ---\n%s---\n",
               ReadFileBytes(programDir_ + "log/errorLog.txt").c_str());
}

void ClientHarness::WriteDeployment(const std::string& serviceOrigin) {
  WriteFileBytes(programDir_ + "deployment.ini",
                 "[deployment]\nServiceOrigin=" + serviceOrigin +
                     "\nVendorSite=" + serviceOrigin + "/vendor\nChannelHost=" + serviceOrigin +
                     "\n");
}

pid_t ClientHarness::Start(const std::vector<std::string>& args) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  auto set = [&env](const std::string& name, const std::string& value) {
    std::erase_if(env, [&](const std::string& e) { return e.rfind(name + "=", 0) == 0; });
    env.push_back(name + "=" + value);
  };
  set("XDG_DATA_HOME", root_ / "data");
  set("XDG_CONFIG_HOME", root_ / "config");
  set("XDG_CACHE_HOME", root_ / "cache");
  set("XDG_RUNTIME_DIR", root_ / "runtime");
  set("HOME", root_ / "home");
  set("VORNA_DEVICE_LAB", root_ / "lab");
  for (const auto& e : extraEnv_) set(e.substr(0, e.find('=')), e.substr(e.find('=') + 1));

  std::vector<std::string> argv = {programDir_ + "vorna-client"};
  argv.insert(argv.end(), args.begin(), args.end());
  status_ = -1;
  // The client's own output goes to a file, shown when a test fails.
  int output = open((root_ / "client-output.txt").c_str(),
                    O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  pid_ = fork();
  if (pid_ == 0) {
    if (output >= 0) {
      dup2(output, STDOUT_FILENO);
      dup2(output, STDERR_FILENO);
    }
    std::vector<char*> cargv, cenv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    for (auto& e : env) cenv.push_back(e.data());
    cenv.push_back(nullptr);
    execve(cargv[0], cargv.data(), cenv.data());
    _exit(127);
  }
  if (output >= 0) close(output);
  return pid_;
}

bool ClientHarness::Running() {
  if (pid_ <= 0) return false;
  int status;
  pid_t r = waitpid(pid_, &status, WNOHANG);
  if (r == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return false;
  }
  return r == 0;
}

int ClientHarness::WaitForExit(double seconds) {
  if (!WaitFor([this] { return !Running(); }, seconds)) return -1;
  return status_;
}

void ClientHarness::Kill() {
  if (!Running()) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

namespace {

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// Windows of the client come and go while we look at them (a loading dialog
// closes, a window manager reparents); a vanished window must not end the
// test through Xlib's default error handler.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

Display* OpenDisplay() {
  XSetErrorHandler(IgnoreXError);
  return XOpenDisplay(nullptr);
}

std::string Utf8Property(Display* d, Window w, const char* name) {
  Atom property = XInternAtom(d, name, False);
  Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string value;
  if (XGetWindowProperty(d, w, property, 0, 4096, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    value.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return value;
}

void Collect(Display* d, Window w, const std::string& wmClass, Window topLevel, int depth,
             std::vector<XWindow>& out) {
  XClassHint hint{};
  if (XGetClassHint(d, w, &hint)) {
    bool match = hint.res_class && wmClass == hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    XWindowAttributes attributes;
    if (match && XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable) {
      XWindow found;
      found.id = w;
      found.wmClass = wmClass;
      found.title = Utf8Property(d, w, "_NET_WM_NAME");
      Window child;
      XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &found.x, &found.y, &child);
      found.width = attributes.width;
      found.height = attributes.height;
      XWindowAttributes outer;
      XGetWindowAttributes(d, topLevel, &outer);
      found.frameX = outer.x;
      found.frameY = outer.y;
      out.push_back(found);
      return;
    }
  }
  if (depth >= 3) return;
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &count)) return;
  for (unsigned i = 0; i < count; ++i)
    Collect(d, children[i], wmClass, depth == 0 ? children[i] : topLevel, depth + 1, out);
  if (children) XFree(children);
}

}  // namespace

std::vector<XWindow> FindWindows(const std::string& wmClass) {
  std::vector<XWindow> windows;
  DisplayHandle d(OpenDisplay());
  if (!d) return windows;
  Window root = DefaultRootWindow(d.get());
  Collect(d.get(), root, wmClass, root, 0, windows);
  return windows;
}

std::pair<int, int> ScreenSize() {
  DisplayHandle d(OpenDisplay());
  if (!d) return {0, 0};
  int screen = DefaultScreen(d.get());
  return {DisplayWidth(d.get(), screen), DisplayHeight(d.get(), screen)};
}

void RequestClose(unsigned long window) {
  DisplayHandle d(OpenDisplay());
  if (!d) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d.get(), "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d.get(), "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(d.get(), window, False, NoEventMask, &event);
  XFlush(d.get());
}

bool HasWindowState(unsigned long window, const std::string& state) {
  DisplayHandle d(OpenDisplay());
  if (!d) return false;
  Atom wanted = XInternAtom(d.get(), state.c_str(), False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(d.get(), window, XInternAtom(d.get(), "_NET_WM_STATE", False), 0, 64,
                         False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
      data) {
    auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == wanted;
    XFree(data);
  }
  return found;
}

}  // namespace vorna::test

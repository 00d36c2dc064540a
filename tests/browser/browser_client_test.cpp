// The real client under a virtual display, against a local test server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "client_harness.h"
#include "platform/window_channel.h"
#include "test_server.h"

// After the HTTP library: Xlib's macros (Success, ...) would clash with it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vorna::test {
namespace {

constexpr const char* kOurHeader = "vornaer_master_pc";

class BrowserClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    // Windows come and go while the helpers look at them (a window manager
    // reparents them too); Xlib's default handler would end the test.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  void StartServer() {
    server_.Http().set_logger([this](const httplib::Request& req, const httplib::Response&) {
      std::lock_guard lock(mutex_);
      seen_[req.path].push_back(req.headers);
    });
    server_.Start();
    client_.WriteDeployment(server_.Origin());
  }
  void Page(const std::string& path, const std::string& html) {
    server_.Http().Get(path, [html](const httplib::Request&, httplib::Response& res) {
      res.set_content(html, "text/html");
    });
  }
  // Headers of the requests seen for `path`, in arrival order.
  std::vector<httplib::Headers> Seen(const std::string& path) {
    std::lock_guard lock(mutex_);
    return seen_[path];
  }
  bool WaitForRequest(const std::string& path, size_t count = 1, double seconds = 30) {
    return WaitFor([&] { return Seen(path).size() >= count; }, seconds);
  }
  static std::string Header(const httplib::Headers& headers, const std::string& name) {
    std::string joined;
    auto [begin, end] = headers.equal_range(name);
    for (auto it = begin; it != end; ++it) joined += (joined.empty() ? "" : "|") + it->second;
    return joined;
  }
  XWindow WaitForMainWindow() {
    XWindow found;
    WaitFor([&] {
      for (const auto& w : FindWindows())
        if (w.title == "Vorna商户端 (版本2.0.1)") return found = w, true;
      return false;
    });
    return found;
  }
  // The client's window procedure, reached the way other processes reach it.
  bool Post(uint32_t message, uint64_t wParam, int64_t lParam = 0) {
    return PostWindowMessage(FindMainWindow(), message, wParam, lParam);
  }
  void CloseMainWindowAndExpectExit() {
    XWindow main = WaitForMainWindow();
    ASSERT_NE(main.id, 0u);
    RequestClose(main.id);
    EXPECT_EQ(client_.WaitForExit(), 0);
  }

  TestServer server_;
  ClientHarness client_;
  std::mutex mutex_;
  std::map<std::string, std::vector<httplib::Headers>> seen_;
};

TEST_F(BrowserClientTest, IdentificationHeadersOnEveryKindOfRequest) {
  if (!std::filesystem::exists(client_.ProgramDir() + "webext"))
    GTEST_SKIP() << "the web-extension module is not built";
  Page("/master/login",
       "<html><body><iframe src='/frame'></iframe><script>"
       "var x = new XMLHttpRequest(); x.open('GET', '/xhr'); x.send();"
       "fetch('/fetch');"
       "fetch('/own', {headers: {'My-Header': 'page-value'}});"
       "</script></body></html>");
  Page("/frame", "<html><body>frame</body></html>");
  for (const char* path : {"/xhr", "/fetch", "/own"}) Page(path, "ok");
  StartServer();
  client_.SetEnv("LANGUAGE=zh_TW");  // a Chinese system language
  client_.Start();
  for (const char* path : {"/master/login", "/frame", "/xhr", "/fetch", "/own"}) {
    ASSERT_TRUE(WaitForRequest(path)) << path;
    httplib::Headers headers = Seen(path).front();
    EXPECT_EQ(Header(headers, "My-Version"), "2.0.1") << path;
    if (std::string(path) == "/own") {
      // The page's value stays beside ours, in one header line.
      EXPECT_EQ(Header(headers, "My-Header"), std::string("page-value, ") + kOurHeader);
    } else {
      EXPECT_EQ(Header(headers, "My-Header"), kOurHeader) << path;
    }
  }
  std::string languages = Header(Seen("/master/login").front(), "Accept-Language");
  EXPECT_EQ(languages.rfind("zh-CN,zh", 0), 0u) << languages;
  CloseMainWindowAndExpectExit();
}

TEST_F(BrowserClientTest, SessionAndPersistentCookiesSurviveARestart) {
  std::atomic<int> logins{0};
  server_.Http().Get("/master/login", [&](const httplib::Request&, httplib::Response& res) {
    if (logins++ == 0) {
      res.set_header("Set-Cookie", "session=s1; Path=/");
      res.headers.emplace("Set-Cookie", "kept=k2; Path=/; Max-Age=3600");
    }
    res.set_content("<html><body>login</body></html>", "text/html");
  });
  StartServer();
  client_.Start();
  ASSERT_TRUE(WaitForRequest("/master/login"));
  CloseMainWindowAndExpectExit();
  EXPECT_TRUE(std::filesystem::exists(client_.DataHome() + "quellanrazodazevorna/Cookies"));

  client_.Start();
  ASSERT_TRUE(WaitForRequest("/master/login", 2));
  std::string cookies = Header(Seen("/master/login")[1], "Cookie");
  EXPECT_NE(cookies.find("session=s1"), std::string::npos) << cookies;
  EXPECT_NE(cookies.find("kept=k2"), std::string::npos) << cookies;
  CloseMainWindowAndExpectExit();
}

unsigned long TransientFor(unsigned long window) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  Window owner = 0;
  if (!XGetTransientForHint(d, window, &owner)) owner = 0;
  XCloseDisplay(d);
  return owner;
}

// Colour of one screen pixel as 0xRRGGBB.
unsigned long ScreenPixel(int x, int y) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  unsigned long pixel = 0;
  if (XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap)) {
    pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
  }
  XCloseDisplay(d);
  return pixel;
}

TEST_F(BrowserClientTest, BackgroundColourSwitchShowsBehindATransparentPage) {
  Page("/master/login", "<html><body style='background:transparent'></body></html>");
  StartServer();
  client_.Start({"--background-color=#00ff00"});
  XWindow main = WaitForMainWindow();
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").empty(); }));
  EXPECT_TRUE(WaitFor([&] { return ScreenPixel(main.x + 20, main.y + main.height - 20) == 0x00FF00; },
                      10))
      << std::hex << ScreenPixel(main.x + 20, main.y + main.height - 20);
  CloseMainWindowAndExpectExit();
}

// This run's engine folders of process `pid` in the temporary folder.
std::vector<std::string> RunFolders(pid_t pid) {
  std::vector<std::string> found;
  std::string prefix = "vorna-engine-" + std::to_string(pid) + "-";
  for (const auto& entry : std::filesystem::directory_iterator(g_get_tmp_dir()))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) found.push_back(entry.path());
  return found;
}

TEST_F(BrowserClientTest, EngineFolderGoesAtExitAndAfterAKill) {
  Page("/master/login", "<html><body>login</body></html>");
  StartServer();
  pid_t killed = client_.Start();
  ASSERT_TRUE(WaitForRequest("/master/login"));
  ASSERT_EQ(RunFolders(killed).size(), 1u);
  client_.Kill();  // leaves its folder behind
  ASSERT_EQ(RunFolders(killed).size(), 1u);

  pid_t clean = client_.Start();
  ASSERT_TRUE(WaitForRequest("/master/login", 2));
  EXPECT_TRUE(RunFolders(killed).empty()) << "the next start removes what a dead client left";
  EXPECT_EQ(RunFolders(clean).size(), 1u);
  CloseMainWindowAndExpectExit();
  EXPECT_TRUE(RunFolders(clean).empty());
}

// Listening TCP sockets on `port` as "address:port" in /proc/net/tcp{,6} form.
std::vector<std::string> ListeningAddresses(int port) {
  std::vector<std::string> found;
  char portHex[8];
  snprintf(portHex, sizeof portHex, "%04X", port);
  for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state;
      fields >> slot >> local >> remote >> state;
      if (state == "0A" && local.size() > 5 && local.substr(local.size() - 4) == portHex)
        found.push_back(local);
    }
  }
  return found;
}

TEST_F(BrowserClientTest, InspectorAnswersOnLoopbackOnly) {
  Page("/master/login", "<html><body>login</body></html>");
  StartServer();
  client_.Start();
  ASSERT_TRUE(WaitForRequest("/master/login"));
  httplib::Client inspector("127.0.0.1", 8180);
  inspector.set_connection_timeout(2);
  bool answered = WaitFor([&] {
    auto res = inspector.Get("/");
    return res && res->status == 200 && res->body.find("Inspect") != std::string::npos;
  });
  EXPECT_TRUE(answered);
  std::vector<std::string> listening = ListeningAddresses(8180);
  ASSERT_FALSE(listening.empty());
  for (const auto& address : listening) EXPECT_EQ(address, "0100007F:1FF4");
  CloseMainWindowAndExpectExit();
}

TEST_F(BrowserClientTest, LoadingDialogLastsUntilTheFirstLoadEnds) {
  std::atomic<bool> slowDone{false};
  Page("/master/login", "<html><body>login <img src='/slow.png'></body></html>");
  server_.Http().Get("/slow.png", [&](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    slowDone = true;
    res.set_content("", "image/png");
  });
  StartServer();
  client_.Start();
  XWindow main = WaitForMainWindow();
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").size() == 1; }));
  EXPECT_FALSE(slowDone) << "the dialog must show while the page loads";
  XWindow dialog = FindWindows("VornaLoading")[0];
  EXPECT_EQ(dialog.x, main.x + (main.width - dialog.width) / 2);
  EXPECT_EQ(dialog.y, main.y + (main.height - dialog.height) / 3);
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").empty(); }));
  EXPECT_TRUE(slowDone) << "the dialog must last until the load ends";
  EXPECT_TRUE(client_.Running());
  CloseMainWindowAndExpectExit();
}

TEST_F(BrowserClientTest, ClosingWhileASlowPageLoadsEndsTheProcess) {
  std::atomic<bool> requested{false}, release{false};
  server_.Http().Get("/master/login", [&](const httplib::Request&, httplib::Response& res) {
    requested = true;
    WaitFor([&] { return release.load(); }, 20);
    res.set_content("<html><body>late</body></html>", "text/html");
  });
  StartServer();
  client_.Start();
  XWindow main = WaitForMainWindow();
  ASSERT_NE(main.id, 0u);
  ASSERT_TRUE(WaitFor([&] { return requested.load(); }));  // the page is loading now
  RequestClose(main.id);
  EXPECT_EQ(client_.WaitForExit(), 0);
  EXPECT_TRUE(FindWindows().empty());
  release = true;
  server_.Stop();  // the handler uses this test's locals
}

TEST_F(BrowserClientTest, PopupIsOwnedAndPlacedByItsNameAndTheLastWindowEndsTheLoop) {
  Page("/master/login",
       "<html><body><script>window.open('/popup', 'no_100_50_300_200');</script></body></html>");
  Page("/popup", "<html><body>popup</body></html>");
  StartServer();
  client_.Start();
  XWindow main = WaitForMainWindow();
  XWindow popup;
  ASSERT_TRUE(WaitFor([&] {
    for (const auto& w : FindWindows())
      if (w.title == "Vorna商户端") return popup = w, true;
    return false;
  }));
  EXPECT_EQ(popup.x, 100);
  EXPECT_EQ(popup.y, 50);
  EXPECT_EQ(popup.width, 300);
  EXPECT_EQ(popup.height, 200);
  EXPECT_EQ(popup.frameX, popup.x) << "caption-less";
  EXPECT_EQ(TransientFor(popup.id), main.id) << "owned by the main window";
  ASSERT_TRUE(WaitForRequest("/popup"));
  EXPECT_EQ(Header(Seen("/popup").front(), "Referer").find(server_.Origin()), 0u);

  // The main window goes first; the loop goes on while the pop-up is open.
  RequestClose(main.id);
  EXPECT_TRUE(WaitFor([&] { return FindWindows().size() == 1; }));
  EXPECT_TRUE(client_.Running());
  RequestClose(popup.id);
  EXPECT_EQ(client_.WaitForExit(), 0);
}

TEST_F(BrowserClientTest, CtrlClickOpensAWindowThatTakesOverTheChannel) {
  if (system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
  Page("/master/login",
       "<html><body style='margin:0'><a href='/linked' style='display:block;width:100%;"
       "height:400px;background:#ccc'>link</a></body></html>");
  Page("/linked", "<html><body>linked</body></html>");
  StartServer();
  client_.Start();
  XWindow main = WaitForMainWindow();
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").empty(); }));
  std::string click = "xdotool mousemove " + std::to_string(main.x + 100) + " " +
                      std::to_string(main.y + 100) + " keydown ctrl click 1 keyup ctrl";
  ASSERT_EQ(system(click.c_str()), 0);
  ASSERT_TRUE(WaitForRequest("/linked"));
  ASSERT_TRUE(WaitFor([] { return FindWindows().size() == 2; }));
  for (const auto& w : FindWindows()) EXPECT_EQ(w.title, "Vorna商户端 (版本2.0.1)");
  EXPECT_EQ(Seen("/master/login").size(), 1u);  // the main window did not navigate

  // With the main window gone the other one answers the channel.
  RequestClose(main.id);
  ASSERT_TRUE(WaitFor([] { return FindWindows().size() == 1; }));
  ASSERT_TRUE(Post(kWmCommand, 32008));
  EXPECT_TRUE(WaitForRequest("/master/login", 2));
  ASSERT_TRUE(Post(kWmCommand, 32002));  // download failed: a message box
  XWindow box;
  EXPECT_TRUE(WaitFor([&] {
    for (const auto& w : FindWindows())
      if (w.title == "提示") return box = w, true;
    return false;
  }));
  RequestClose(box.id);
  EXPECT_TRUE(WaitFor([] { return FindWindows().size() == 1; }));
  ASSERT_TRUE(Post(kWmCommand, 105));
  EXPECT_EQ(client_.WaitForExit(), 0);
}

TEST_F(BrowserClientTest, CommandsReloadTheStartPageAndExit) {
  Page("/master/login", "<html><body>login</body></html>");
  StartServer();
  client_.Start();
  ASSERT_TRUE(WaitForRequest("/master/login"));
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").empty(); }));
  ASSERT_TRUE(Post(kWmCommand, 32008));
  EXPECT_TRUE(WaitForRequest("/master/login", 2));
  ASSERT_TRUE(Post(kWmCommand, 105));
  EXPECT_EQ(client_.WaitForExit(), 0);
}

// A window manager on the virtual display, for maximize.
class WindowManagerProcess {
 public:
  WindowManagerProcess() {
    // The virtual display refuses connections for a moment while it resets
    // after its last client left: try again then.
    for (int attempt = 0; attempt < 3 && !running_; ++attempt) {
      Stop();
      pid_ = fork();
      if (pid_ == 0) {
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
      }
      running_ = WaitFor([] { return HasSupportingWm(); }, 10);
    }
  }
  ~WindowManagerProcess() { Stop(); }
  bool Running() const { return running_; }

 private:
  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }
  static bool HasSupportingWm() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
    bool found = false;
    if (check != None) {
      Atom type;
      int format;
      unsigned long count, after;
      unsigned char* data = nullptr;
      found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, AnyPropertyType,
                                 &type, &format, &count, &after, &data) == Success &&
              count == 1;
      if (data) XFree(data);
    }
    XCloseDisplay(d);
    return found;
  }
  pid_t pid_ = -1;
  bool running_ = false;
};

TEST_F(BrowserClientTest, FullScreenOnOffAndToggle) {
  WindowManagerProcess wm;
  if (!wm.Running()) GTEST_SKIP() << "openbox is not available";
  Page("/master/login", "<html><body>login</body></html>");
  StartServer();
  client_.Start();
  XWindow before = WaitForMainWindow();
  ASSERT_NE(before.id, 0u);
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").empty(); }));
  auto [screenWidth, screenHeight] = ScreenSize();
  auto covers = [&] {
    XWindow w = WaitForMainWindow();
    return w.x == 0 && w.y == 0 && w.width == screenWidth && w.height == screenHeight;
  };
  auto maximized = [&] {
    XWindow w = WaitForMainWindow();
    return HasWindowState(w.id, "_NET_WM_STATE_MAXIMIZED_VERT") &&
           HasWindowState(w.id, "_NET_WM_STATE_MAXIMIZED_HORZ") && w.y > 0;  // framed again
  };
  const uint32_t kSetFullScreen = 32609;

  ASSERT_TRUE(Post(kSetFullScreen, 1));
  EXPECT_TRUE(WaitFor(covers, 10));
  ASSERT_TRUE(Post(kSetFullScreen, 1));  // already on: nothing changes
  g_usleep(500 * 1000);
  EXPECT_TRUE(covers());
  EXPECT_FALSE(maximized());
  ASSERT_TRUE(Post(kSetFullScreen, 7));  // not a request
  ASSERT_TRUE(Post(kSetFullScreen, 0));
  EXPECT_TRUE(WaitFor(maximized, 10));

  ASSERT_TRUE(Post(kSetFullScreen, 2));
  EXPECT_TRUE(WaitFor(covers, 10));
  ASSERT_TRUE(Post(kSetFullScreen, 2));
  EXPECT_TRUE(WaitFor(maximized, 10));
  CloseMainWindowAndExpectExit();
}

TEST_F(BrowserClientTest, PageFullScreenMaximizesAndRestores) {
  WindowManagerProcess wm;
  if (!wm.Running()) GTEST_SKIP() << "openbox is not available";
  if (system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
  Page("/master/login",
       "<html><body style='margin:0'><div style='width:100%;height:300px' onclick=\""
       "if (document.fullscreenElement) document.exitFullscreen().then(() => fetch('/left'));"
       "else document.documentElement.requestFullscreen().then(() => fetch('/entered'),"
       " () => fetch('/refused'));\">page</div></body></html>");
  for (const char* path : {"/entered", "/left", "/refused"}) Page(path, "ok");
  StartServer();
  client_.Start();
  XWindow main = WaitForMainWindow();
  ASSERT_TRUE(WaitFor([] { return FindWindows("VornaLoading").empty(); }));
  auto maximized = [&] {
    XWindow w = WaitForMainWindow();
    return HasWindowState(w.id, "_NET_WM_STATE_MAXIMIZED_VERT");
  };
  auto click = [&] {
    XWindow w = WaitForMainWindow();
    std::string command = "xdotool mousemove " + std::to_string(w.x + 50) + " " +
                          std::to_string(w.y + 50) + " click 1";
    return system(command.c_str()) == 0;
  };
  ASSERT_FALSE(maximized());
  ASSERT_TRUE(click());
  EXPECT_TRUE(WaitFor(maximized, 10));
  EXPECT_TRUE(WaitForRequest("/entered", 1, 10));
  EXPECT_TRUE(Seen("/refused").empty());
  ASSERT_TRUE(click());
  EXPECT_TRUE(WaitFor([&] { return !maximized(); }, 10));
  EXPECT_TRUE(WaitForRequest("/left", 1, 10));
  CloseMainWindowAndExpectExit();
}

}  // namespace
}  // namespace vorna::test

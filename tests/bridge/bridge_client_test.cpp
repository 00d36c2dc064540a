// The app object in the real client, on a display with two screens: every
// function with accepted and rejected arguments, a frame's own app, the
// clipboard read back by another X client, the outside browser, full screen
// and the page callbacks run by the main window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>

#include "app/text_encoding.h"
#include "bridge/bridge_messages.h"
#include "client_harness.h"
#include "platform/window_channel.h"
#include "temp_dir.h"
#include "test_server.h"
#include "two_screen_display.h"

namespace vorna::test {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

// The text of the client's log files whose names start with `prefix`.
std::string LogText(const std::string& logFolder, const std::string& prefix) {
  std::string text;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(logFolder, error)) {
    if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
    std::string bytes = ReadFileBytes(entry.path().string());
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
      units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                            (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    text += Utf16ToUtf8(units);
  }
  return text;
}

class BridgeClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!display_.Ready()) GTEST_SKIP() << "Xvfb with two screens could not be started";
    const std::string pages = std::string(VORNA_SOURCE_DIR) + "/tests/bridge/pages/";
    std::string casesPage = ReadFileBytes(pages + "bridge_cases.html");
    std::string framePage = ReadFileBytes(pages + "frame.html");
    auto& http = server_.Http();
    http.Get("/master/login", [casesPage](const httplib::Request&, httplib::Response& res) {
      res.set_content(casesPage, "text/html; charset=utf-8");
    });
    http.Get("/frame", [framePage](const httplib::Request&, httplib::Response& res) {
      res.set_content(framePage, "text/html; charset=utf-8");
    });
    auto record = [this](const char* kind) {
      return [this, kind](const httplib::Request& req, httplib::Response&) {
        std::lock_guard<std::mutex> guard(lock_);
        posts_.emplace_back(kind, req.body);
      };
    };
    http.Post("/result", record("result"));
    http.Post("/done", record("done"));
    http.Post("/frame-result", record("frame"));
    http.Post("/callback", record("callback"));
    server_.Start();

    // An outside browser that only notes what it was asked to open.
    const std::string bin = tools_ / "bin/";
    mkdir(bin.c_str(), 0755);
    WriteFileBytes(bin + "chromium",
                   "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + opened_ + "'\n");
    chmod((bin + "chromium").c_str(), 0755);

    client_.WriteDeployment(server_.Origin());
    // The client and this test's own X lookups both use the two-monitor display.
    previousDisplay_ = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    setenv("DISPLAY", display_.Name().c_str(), 1);
    client_.SetEnv("PATH=" + bin + ":" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin"));
  }

  std::vector<std::string> Posts(const std::string& kind) {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<std::string> bodies;
    for (const auto& [k, body] : posts_)
      if (k == kind) bodies.push_back(body);
    return bodies;
  }

  // Posts a message to the client's main window.
  bool PostToClient(uint32_t message, uint64_t wParam, int64_t lParam) {
    WindowHandle window = FindMainWindow();
    return window && PostWindowMessage(window, message, wParam, lParam);
  }

  void TearDown() override {
    client_.Kill();
    if (!previousDisplay_.empty()) setenv("DISPLAY", previousDisplay_.c_str(), 1);
  }

  TwoScreenDisplay display_;
  std::string previousDisplay_;
  TestServer server_;
  TempDir tools_;
  std::string opened_ = tools_ / "opened.txt";
  ClientHarness client_;
  std::mutex lock_;
  std::vector<std::pair<std::string, std::string>> posts_;
};

TEST_F(BridgeClientTest, EveryFunctionInTheRealClient) {
  client_.Start();
  ASSERT_TRUE(WaitFor([this] { return !Posts("done").empty(); }, 60))
      << "the test page did not finish; is the module loaded?";

  std::vector<std::string> results = Posts("result");
  EXPECT_EQ(std::to_string(results.size()), Posts("done")[0]);
  for (const std::string& line : results) {
    std::vector<std::string> fields = Split(line, '\t');
    ASSERT_EQ(fields.size(), 3u) << line;
    EXPECT_EQ(fields[1], fields[2]) << "case " << fields[0];
  }

  // The frame got its own app; rejected arguments there too.
  ASSERT_TRUE(WaitFor([this] { return !Posts("frame").empty(); }));
  EXPECT_EQ(Posts("frame")[0], "true\t29\t4");

  // Another X client reads what copyUnicodeText put there: up to the zero unit.
  ClipboardText clipboard = ReadClipboard(display_.Name());
  EXPECT_TRUE(clipboard.ok);
  EXPECT_EQ(clipboard.text, "价格 unicode");

  // The outside browser got the one non-empty URL; the empty one sent nothing.
  EXPECT_TRUE(WaitFor([this] { return ReadFileBytes(opened_) != ""; }));
  EXPECT_EQ(ReadFileBytes(opened_), "http://outside.example/page?a=1\n");

  // setFullScreen() toggled the main window to full screen.
  EXPECT_TRUE(WaitFor([] {
    std::vector<XWindow> windows = FindWindows();
    return windows.size() == 1 &&
           (windows[0].width >= 1920 ||
            HasWindowState(windows[0].id, "_NET_WM_STATE_FULLSCREEN"));
  }, 10)) << "not full screen";

  // Console output goes to the web log, the uncaught error to the crash log.
  const std::string logs = client_.ProgramDir() + "log/";
  EXPECT_TRUE(WaitFor([&] {
    return LogText(logs, "crash").find("bridge page uncaught error") != std::string::npos;
  }, 10));
  EXPECT_NE(LogText(logs, "网页日志").find("bridge page console line"), std::string::npos);
  EXPECT_EQ(LogText(logs, "网页日志").find("uncaught"), std::string::npos);

  // Callbacks run in the page's main frame.
  ASSERT_TRUE(PostToClient(kUmPhoneCall, 5, 0));
  ASSERT_TRUE(PostToClient(kUmPrintFeedback, 0, 2));
  EXPECT_TRUE(WaitFor([this] { return Posts("callback").size() == 2; }));
  EXPECT_EQ(Posts("callback"),
            (std::vector<std::string>{"phoneCall\t", "printInvoiceFeedBack\t\t2"}));
}

}  // namespace
}  // namespace vorna::test

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <atomic>
#include <ctime>
#include <filesystem>

#include "app/ini_file.h"
#include "client_harness.h"
#include "test_server.h"

namespace vorna::test {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    server_.Http().Get("/master/login", [this](const httplib::Request&, httplib::Response& res) {
      ++loginRequests_;
      res.set_content("<html><body>login</body></html>", "text/html");
    });
    server_.Start();
    client_.WriteDeployment(server_.Origin());
  }
  bool WaitForOneWindow() {
    return WaitFor([] { return FindWindows().size() == 1; });
  }
  void CloseAndExpectCleanExit() {
    auto windows = FindWindows();
    ASSERT_EQ(windows.size(), 1u);
    RequestClose(windows[0].id);
    EXPECT_EQ(client_.WaitForExit(), 0);
    EXPECT_TRUE(WaitFor([] { return FindWindows().empty(); }));
  }

  TestServer server_;
  ClientHarness client_;
  std::atomic<int> loginRequests_{0};
};

TEST_F(StartupTest, MainWindowSingleInstanceAndClose) {
  client_.Start();
  ASSERT_TRUE(WaitForOneWindow());
  XWindow w = FindWindows()[0];
  auto [screenWidth, screenHeight] = ScreenSize();
  EXPECT_EQ(w.title, "Vorna商户端 (版本2.0.1)");
  EXPECT_EQ(w.frameX, screenWidth - 500);
  EXPECT_EQ(w.frameY, 0);
  EXPECT_EQ(w.width, 480);
  EXPECT_EQ(w.height, static_cast<int>(screenHeight * 0.9));
  if (screenWidth == 1920 && screenHeight == 1080) {
    EXPECT_EQ(w.x, 1420);
    EXPECT_EQ(w.height, 972);
  }
  EXPECT_TRUE(WaitFor([this] { return loginRequests_ > 0; })) << "StartUrl was not requested";
  EXPECT_TRUE(WaitFor([this] {
    return ReadIniInt(client_.ProgramDir() + "vadid.ini", "addFirewall", "isAdd", 0) == 1;
  }));

  // A second start hands over to the running window and leaves no trace.
  ClientHarness second;  // separate copy: no shared files, same display and user
  second.WriteDeployment(server_.Origin());
  pid_t firstPid = client_.Pid();
  second.Start();
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_FALSE(FileExists(second.ProgramDir() + "vadid.ini"));
  EXPECT_TRUE(std::filesystem::is_empty(second.ProgramDir() + "log"));
  EXPECT_EQ(FindWindows().size(), 1u);
  EXPECT_EQ(client_.Pid(), firstPid);
  EXPECT_TRUE(client_.Running());

  CloseAndExpectCleanExit();
}

TEST_F(StartupTest, ClearCacheRequestEmptiesTheProfileBeforeStart) {
  std::string configDir = client_.DataHome() + "quellanrazodazevornaconfig/";
  std::string profile = client_.DataHome() + "quellanrazodazevorna/";
  mkdir(configDir.c_str(), 0700);
  mkdir(profile.c_str(), 0700);
  mkdir((profile + "nested").c_str(), 0700);
  WriteFileBytes(profile + "nested/old-cookie", "x");
  WriteFileBytes(configDir + "config.ini", "[Cache]\nclearCache=1\n");
  client_.Start();
  ASSERT_TRUE(WaitForOneWindow());
  EXPECT_FALSE(FileExists(profile + "nested"));
  EXPECT_EQ(ReadIniInt(configDir + "config.ini", "Cache", "clearCache", -1), 0);
  CloseAndExpectCleanExit();
}

TEST_F(StartupTest, OldLogsArePurgedAtShutdown) {
  std::string oldLog = client_.ProgramDir() + "log/软件日志20200101.txt";
  std::string freshLog = client_.ProgramDir() + "log/网页日志20200102.txt";
  WriteFileBytes(oldLog, "\xFF\xFE");
  WriteFileBytes(freshLog, "\xFF\xFE");
  struct timeval old[2] = {{time(nullptr) - 16 * 86400, 0}, {time(nullptr) - 16 * 86400, 0}};
  utimes(oldLog.c_str(), old);
  client_.Start();
  ASSERT_TRUE(WaitForOneWindow());
  EXPECT_TRUE(FileExists(oldLog)) << "nothing is purged at start-up";
  CloseAndExpectCleanExit();
  EXPECT_FALSE(FileExists(oldLog));
  EXPECT_TRUE(FileExists(freshLog));
}

TEST_F(StartupTest, BadFilesAndMissingLogFolderDoNotStopTheClient) {
  WriteFileBytes(client_.ProgramDir() + "deployment.ini", "\x01\x02 not an ini file [");
  WriteFileBytes(client_.ProgramDir() + "vadid.ini", "[addFirewall\nisAdd");
  std::filesystem::remove_all(client_.ProgramDir() + "log");
  client_.Start();
  ASSERT_TRUE(WaitForOneWindow()) << "no window, or more than one (a message box?)";
  EXPECT_EQ(FindWindows()[0].title, "Vorna商户端 (版本2.0.1)");
  EXPECT_EQ(ReadFileBytes(client_.ProgramDir() + "vadid.ini"), "[addFirewall\nisAdd");
  CloseAndExpectCleanExit();
  EXPECT_FALSE(FileExists(client_.ProgramDir() + "log"));
}

}  // namespace
}  // namespace vorna::test

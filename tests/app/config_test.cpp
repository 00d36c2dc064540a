#include <glib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdlib>

#include "app/command_line.h"
#include "app/deployment.h"
#include "app/ini_file.h"
#include "app/paths.h"
#include "app/startup.h"
#include "app/text_encoding.h"
#include "temp_dir.h"

namespace vorna {
namespace {

// GLib reads the user data folder once per process: point it at a temporary
// folder before anything asks.
struct UserDataHome {
  UserDataHome() { setenv("XDG_DATA_HOME", dir.Path().c_str(), 1); }
  test::TempDir dir;
};
const UserDataHome g_userDataHome;

using UserDataTest = ::testing::Test;

TEST_F(UserDataTest, FoldersLieUnderTheUserDataFolder) {
  // GLib caches the data folder on first use; compare against what it says.
  std::string base = g_get_user_data_dir();
  if (base.back() != '/') base += "/";
  EXPECT_EQ(ProfileFolder(), base + "quellanrazodazevorna/");
  EXPECT_EQ(ConfigFilePath(), base + "quellanrazodazevornaconfig/config.ini");
  EXPECT_TRUE(test::FileExists(base + "quellanrazodazevornaconfig"));
  SetProgramDirectory("/opt/vorna");
  EXPECT_EQ(FirewallFile(), "/opt/vorna/vadid.ini");
  SetProgramDirectory("");
}

TEST(ClearFolder, EmptiesNestedFoldersAndKeepsTheFolder) {
  test::TempDir dir;
  std::string profile = dir / "profile/";
  mkdir(profile.c_str(), 0755);
  mkdir((profile + "a").c_str(), 0755);
  mkdir((profile + "a/b").c_str(), 0755);
  test::WriteFileBytes(profile + "Cookies", "c");
  test::WriteFileBytes(profile + "a/x", "x");
  test::WriteFileBytes(profile + "a/b/y", "y");
  symlink(dir.Path().c_str(), (profile + "link").c_str());
  test::WriteFileBytes(dir / "outside", "keep");

  ClearFolder(profile);

  EXPECT_TRUE(test::FileExists(profile));
  GDir* listing = g_dir_open(profile.c_str(), 0, nullptr);
  EXPECT_EQ(g_dir_read_name(listing), nullptr);
  g_dir_close(listing);
  EXPECT_EQ(test::ReadFileBytes(dir / "outside"), "keep");  // a link is removed, not followed
}

TEST(ClearFolder, TruncatesFilesThatCannotBeDeleted) {
  if (geteuid() == 0) GTEST_SKIP() << "root deletes anything";
  test::TempDir dir;
  std::string locked = dir / "locked/";
  mkdir(locked.c_str(), 0755);
  test::WriteFileBytes(locked + "held", "data");
  chmod(locked.c_str(), 0555);  // entries cannot be removed, the file can be written
  ClearFolder(locked);
  chmod(locked.c_str(), 0755);
  EXPECT_EQ(test::ReadFileBytes(locked + "held"), "");
}

TEST_F(UserDataTest, ClearCacheRequest) {
  struct Case {
    const char* value;  // nullptr: no key
    bool cleared;
    const char* keyAfter;
  };
  const Case cases[] = {{"1", true, "0"}, {"0", false, "0"}, {"2", false, "2"}, {nullptr, false, ""}};
  for (const Case& c : cases) {
    std::string config = ConfigFilePath();
    remove(config.c_str());
    if (c.value) WriteIniString(config, "Cache", "clearCache", c.value);
    g_mkdir_with_parents(ProfileFolder().c_str(), 0700);
    test::WriteFileBytes(ProfileFolder() + "Cookies", "c");

    EXPECT_EQ(HandleClearCacheRequest(), c.cleared) << (c.value ? c.value : "none");
    EXPECT_EQ(test::FileExists(ProfileFolder() + "Cookies"), !c.cleared);
    EXPECT_TRUE(test::FileExists(ProfileFolder()));
    EXPECT_EQ(ReadIniString(config, "Cache", "clearCache", ""), c.keyAfter);
  }
}

TEST(FirewallRule, AttemptedOncePerInstallation) {
  test::TempDir dir;
  std::string ini = dir / "vadid.ini";
  int attempts = 0;
  auto rule = [&attempts] { ++attempts; };
  EXPECT_TRUE(EnsureFirewallRule(ini, rule));
  EXPECT_EQ(ReadIniInt(ini, "addFirewall", "isAdd", 0), 1);
  EXPECT_FALSE(EnsureFirewallRule(ini, rule));
  EXPECT_EQ(attempts, 1);
}

TEST(IniFile, BadFilesGiveDefaultsAndAreNotReplaced) {
  test::TempDir dir;
  std::string malformed = dir / "bad.ini";
  test::WriteFileBytes(malformed, "garbage without section\n\x01\x02");
  EXPECT_EQ(ReadIniInt(malformed, "addFirewall", "isAdd", 0), 0);
  EXPECT_FALSE(WriteIniString(malformed, "addFirewall", "isAdd", "1"));
  EXPECT_EQ(test::ReadFileBytes(malformed), "garbage without section\n\x01\x02");

  EXPECT_EQ(ReadIniInt(dir / "missing.ini", "Cache", "clearCache", 7), 7);
  EXPECT_FALSE(WriteIniString(dir / "no/such/folder.ini", "Cache", "clearCache", "1"));

  std::string values = dir / "values.ini";
  test::WriteFileBytes(values, "[Cache]\nclearCache= 12abc\nother=x\n[keep]\nk=v\n");
  EXPECT_EQ(ReadIniInt(values, "Cache", "clearCache", 0), 12);
  EXPECT_EQ(ReadIniInt(values, "Cache", "other", 5), 0);
  EXPECT_TRUE(WriteIniString(values, "Cache", "clearCache", "0"));
  EXPECT_EQ(ReadIniString(values, "keep", "k", ""), "v");
}

TEST(PrinterCodePage, ChosenFromTheLocaleCharset) {
  EXPECT_EQ(PrinterCodePageFor("GBK", true), kCodePageAnsi);
  EXPECT_EQ(PrinterCodePageFor("GB18030", true), kCodePageAnsi);
  EXPECT_EQ(PrinterCodePageFor("UTF-8", true), kCodePageGbk);
  EXPECT_EQ(PrinterCodePageFor("UTF-8", false), kCodePageAnsi);
}

TEST(TextEncoding, PrinterTextIsGbkWithQuestionMarks) {
  SetPrinterCodePage(kCodePageGbk);
  EXPECT_EQ(WideToPrinterText(u"合计A"), "\xBA\xCF\xBC\xC6" "A");
  EXPECT_EQ(WideToPrinterText(u"a\u00E9\U0001F600b"), "a\xA8\xA6?b");  // é maps, emoji does not
  SetPrinterCodePage(kCodePageAnsi);
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("中文 \xF0\x9F\x98\x80")), "中文 \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
}

TEST(TextEncoding, AnsiToWideFollowsTheLocale) {
  const char* old = setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  if (setlocale(LC_ALL, "C.UTF-8")) {
    EXPECT_EQ(AnsiToWide("号码 123"), u"号码 123");
  }
  setlocale(LC_ALL, saved.c_str());
}

TEST(Deployment, ValuesAndDefaults) {
  test::TempDir dir;
  Deployment defaults = LoadDeploymentFrom(dir / "none.ini");
  EXPECT_EQ(defaults.serviceOrigin, "https://merchant.vorna.example");
  test::WriteFileBytes(dir / "deployment.ini",
                       "[deployment]\nServiceOrigin=http://127.0.0.1:8080/\nChannelHost=http://c\n");
  Deployment d = LoadDeploymentFrom(dir / "deployment.ini");
  EXPECT_EQ(d.serviceOrigin, "http://127.0.0.1:8080");
  EXPECT_EQ(d.channelHost, "http://c");
  EXPECT_EQ(d.vendorSite, "https://www.vorna.example");
  SetProgramDirectory(dir.Path());
  EXPECT_EQ(StartUrl(), "http://127.0.0.1:8080/master/login");
  SetProgramDirectory("");
  EXPECT_EQ(MainWindowTitle(), "Vorna商户端 (版本2.0.1)");
}

TEST(StartRect, FollowsTheScreen) {
  Rect r = MainWindowStartRect(1920, 1080);
  EXPECT_EQ(r.x, 1420);
  EXPECT_EQ(r.y, 0);
  EXPECT_EQ(r.width, 480);
  EXPECT_EQ(r.height, 972);
  EXPECT_EQ(MainWindowStartRect(1366, 767).height, 690);  // truncated toward zero
}

TEST(CommandLine, Switches) {
  CommandLine cl({"--background-color=#ff0000", "-enable-gpu", "page.html", "--cache-path=",
                  "--", "--not-a-switch"});
  EXPECT_TRUE(cl.HasSwitch("enable-gpu"));
  EXPECT_EQ(cl.GetSwitchValue("background-color"), "#ff0000");
  EXPECT_TRUE(cl.HasSwitch("cache-path"));
  EXPECT_FALSE(cl.HasSwitch("not-a-switch"));
  EXPECT_EQ(cl.Arguments(), (std::vector<std::string>{"page.html", "--not-a-switch"}));
}

}  // namespace
}  // namespace vorna

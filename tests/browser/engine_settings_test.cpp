#include "app/engine_settings.h"

#include <glib.h>
#include <gtest/gtest.h>

#include "temp_dir.h"

namespace vorna {
namespace {

std::vector<std::string> SwitchNames(const CommandLine& line) {
  std::vector<std::string> names;
  for (const auto& [name, value] : line.Switches()) names.push_back(name);
  return names;
}

TEST(BrowserSwitches, FinalListForEachCase) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> expected;
  } cases[] = {
      {{}, {"disable-gpu", "disable-gpu-compositing", "enable-npapi"}},
      // GPU is off whatever was asked: step two appends it all the same.
      {{"--off-screen-rendering-enabled", "--enable-gpu"},
       {"off-screen-rendering-enabled", "enable-gpu", "disable-surfaces",
        "enable-begin-frame-scheduling", "disable-gpu", "disable-gpu-compositing",
        "enable-npapi"}},
      {{"--off-screen-rendering-enabled"},
       {"off-screen-rendering-enabled", "disable-surfaces", "disable-gpu",
        "disable-gpu-compositing", "enable-begin-frame-scheduling", "enable-npapi"}},
      {{"--off-screen-rendering-enabled", "--disable-pdf-extension", "--enable-gpu"},
       {"off-screen-rendering-enabled", "disable-pdf-extension", "enable-gpu",
        "enable-begin-frame-scheduling", "disable-gpu", "disable-gpu-compositing",
        "enable-npapi"}},
      // Switches the client does not know are kept; a repeated one is harmless.
      {{"--disable-gpu", "--background-color=red"},
       {"disable-gpu", "background-color", "disable-gpu-compositing", "enable-npapi"}},
  };
  for (const auto& c : cases) {
    CommandLine final = ProcessBrowserSwitches(CommandLine(c.args));
    EXPECT_EQ(SwitchNames(final), c.expected) << ::testing::PrintToString(c.args);
  }
  EXPECT_EQ(ProcessBrowserSwitches(CommandLine({"--background-color=red"}))
                .GetSwitchValue("background-color"),
            "red");
}

TEST(EngineSettings, ChineseLanguagesLogFileAndFlags) {
  struct Case {
    const char* locale;
    bool chinese;
  } cases[] = {{"zh_CN.UTF-8", true}, {"zh_TW", true},      {"zh_HK.Big5@x", true},
               {"zh_SG.GB2312", true}, {"zh-CN", true},     {"zh", false},
               {"zh_MO", false},       {"en_US.UTF-8", false}, {"C", false},
               {"", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsChineseSystemLanguage(c.locale), c.chinese) << c.locale;
    EngineSettings s = PopulateEngineSettings(CommandLine(), c.locale, 0xFFFFFFFF, "/opt/v/");
    EXPECT_EQ(s.locale, "zh-CN");  // the locale never depends on the system
    std::vector<std::string> expected;
    if (c.chinese) expected = {"zh-CN", "zh"};
    EXPECT_EQ(s.acceptLanguages, expected) << c.locale;
  }
  EngineSettings s = PopulateEngineSettings(
      CommandLine({"--multi-threaded-message-loop", "--off-screen-rendering-enabled"}), "C",
      0xFF102030, "/opt/v/");
  EXPECT_TRUE(s.multiThreadedMessageLoop);
  EXPECT_TRUE(s.windowlessRendering);
  EXPECT_EQ(s.logFile, "/opt/v/log/errorLog.txt");
  EXPECT_EQ(s.remoteDebuggingPort, 8180);
  EXPECT_EQ(s.backgroundColor, 0xFF102030u);
  EngineSettings plain = PopulateEngineSettings(CommandLine(), "C", 0xFFFFFFFF, "/opt/v/");
  EXPECT_FALSE(plain.multiThreadedMessageLoop);
  EXPECT_FALSE(plain.windowlessRendering);
}

TEST(RequestContexts, PerBrowserCachePathRule) {
  const int64_t now = 1533000000;
  struct Case {
    std::vector<std::string> args;
    bool perBrowser;
    std::string cache;
  } cases[] = {
      {{}, false, ""},
      {{"--cache-path=/tmp/c"}, false, ""},  // the shared context ignores it
      {{"--request-context-per-browser"}, true, ""},
      {{"--request-context-per-browser", "--cache-path=/tmp/c"}, true, "/tmp/c1533000000"},
      {{"--request-context-per-browser", "--cache-path=/tmp/c", "--request-context-shared-cache"},
       true, "/tmp/c"},
      {{"--request-context-per-browser", "--cache-path="}, true, ""},
  };
  for (const auto& c : cases) {
    RequestContextRules rules = ReadRequestContextRules(CommandLine(c.args));
    EXPECT_EQ(rules.perBrowser, c.perBrowser) << ::testing::PrintToString(c.args);
    EXPECT_EQ(PerBrowserCachePath(rules, now), c.cache) << ::testing::PrintToString(c.args);
  }
}

TEST(EngineLog, WarningsAndErrorsGoToTheFileOthersDoNot) {
  test::TempDir dir;
  std::string file = dir / "log/errorLog.txt";
  InstallEngineLogWriter(file);
  g_log_structured("WebKit", G_LOG_LEVEL_WARNING, "MESSAGE", "first %s", "warning");
  g_log_structured("Gtk", G_LOG_LEVEL_CRITICAL, "MESSAGE", "a critical one");
  g_log_structured("Gtk", G_LOG_LEVEL_INFO, "MESSAGE", "only information");
  std::string text = test::ReadFileBytes(file);
  EXPECT_NE(text.find(":WARNING:WebKit] first warning\n"), std::string::npos) << text;
  EXPECT_NE(text.find(":ERROR:Gtk] a critical one\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("only information"), std::string::npos);
  EXPECT_EQ(text[0], '[');
}

}  // namespace
}  // namespace vorna

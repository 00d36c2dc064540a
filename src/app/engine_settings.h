#pragma once
// How the browser engine is set up: the final switch list built from the
// process command line, the engine-wide settings, the request-context rules
// and the engine's error log. Nothing here needs a display.
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace vorna {

// The switch list the browser process runs with: the process's own switches
// followed by the ones the client always adds. The engine here takes no
// switches itself; the list is what the rest of the client reads.
CommandLine ProcessBrowserSwitches(const CommandLine& processCommandLine);

inline constexpr int kRemoteInspectorPort = 8180;
inline constexpr const char* kRemoteInspectorAddress = "127.0.0.1:8180";

struct EngineSettings {
  bool multiThreadedMessageLoop = false;
  bool windowlessRendering = false;
  std::string locale = "zh-CN";
  std::vector<std::string> acceptLanguages;  // empty: the engine's default
  std::string logFile;                       // <program directory>log/errorLog.txt
  int remoteDebuggingPort = kRemoteInspectorPort;
  unsigned backgroundColor = 0xFFFFFFFF;  // 0xAARRGGBB
};

// `systemLanguage` is a POSIX locale name such as "zh_CN.UTF-8".
EngineSettings PopulateEngineSettings(const CommandLine& switches,
                                      const std::string& systemLanguage,
                                      unsigned backgroundColor,
                                      const std::string& programDirectory);
// zh_CN, zh_TW, zh_HK and zh_SG, with or without encoding and modifier.
bool IsChineseSystemLanguage(const std::string& localeName);
// The user's message locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
std::string SystemLanguage();

struct RequestContextRules {
  bool perBrowser = false;
  bool sharedCache = false;
  bool hasCachePath = false;
  std::string cachePath;
};
RequestContextRules ReadRequestContextRules(const CommandLine& switches);
// Cache folder of a per-browser context created at `nowSeconds`; empty means
// the cache stays in memory.
std::string PerBrowserCachePath(const RequestContextRules& rules, int64_t nowSeconds);

// Routes warnings and errors logged through GLib in this process (the
// engine's UI side, GTK, GLib) to `logFile`; other levels go to the default
// writer. Call once, before the toolkit starts.
void InstallEngineLogWriter(const std::string& logFile);
// One line in the engine log: "[MMDD/HHMMSS.mmm:LEVEL:source] text".
void WriteEngineLog(const std::string& logFile, const std::string& level,
                    const std::string& source, const std::string& text);

}  // namespace vorna

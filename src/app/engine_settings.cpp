#include "app/engine_settings.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdio>
#include <ctime>

namespace vorna {

CommandLine ProcessBrowserSwitches(const CommandLine& processCommandLine) {
  CommandLine result = processCommandLine;
  // Off-screen rendering belongs to the diagnostic window variant; the engine
  // here has no off-screen mode, so these switches only keep the list the
  // same as the original client's and change nothing else.
  if (result.HasSwitch("off-screen-rendering-enabled")) {
    if (!result.HasSwitch("disable-extensions") && !result.HasSwitch("disable-pdf-extension"))
      result.AppendSwitch("disable-surfaces");
    if (!result.HasSwitch("enable-gpu")) {
      result.AppendSwitch("disable-gpu");
      result.AppendSwitch("disable-gpu-compositing");
    }
    result.AppendSwitch("enable-begin-frame-scheduling");
  }
  // Never GPU, whatever was asked: "disable-gpu" becomes the hardware
  // acceleration policy "never" of every web view.
  result.AppendSwitch("disable-gpu");
  result.AppendSwitch("disable-gpu-compositing");
  // The engine has no plug-ins at all, so this only records the intent.
  result.AppendSwitch("enable-npapi");
  return result;
}

bool IsChineseSystemLanguage(const std::string& localeName) {
  std::string base = localeName.substr(0, localeName.find_first_of(".@"));
  for (char& c : base)
    if (c == '-') c = '_';
  for (const char* chinese : {"zh_CN", "zh_TW", "zh_HK", "zh_SG"})
    if (g_ascii_strcasecmp(base.c_str(), chinese) == 0) return true;
  return false;
}

std::string SystemLanguage() {
  const gchar* const* names = g_get_language_names();
  return names && names[0] ? names[0] : "C";
}

EngineSettings PopulateEngineSettings(const CommandLine& switches,
                                      const std::string& systemLanguage,
                                      unsigned backgroundColor,
                                      const std::string& programDirectory) {
  EngineSettings settings;
  settings.multiThreadedMessageLoop = switches.HasSwitch("multi-threaded-message-loop");
  settings.windowlessRendering = switches.HasSwitch("off-screen-rendering-enabled");
  if (IsChineseSystemLanguage(systemLanguage)) settings.acceptLanguages = {"zh-CN", "zh"};
  settings.logFile = programDirectory + "log/errorLog.txt";
  settings.backgroundColor = backgroundColor;
  return settings;
}

RequestContextRules ReadRequestContextRules(const CommandLine& switches) {
  RequestContextRules rules;
  rules.perBrowser = switches.HasSwitch("request-context-per-browser");
  rules.sharedCache = switches.HasSwitch("request-context-shared-cache");
  rules.hasCachePath = switches.HasSwitch("cache-path");
  rules.cachePath = switches.GetSwitchValue("cache-path");
  return rules;
}

std::string PerBrowserCachePath(const RequestContextRules& rules, int64_t nowSeconds) {
  if (!rules.perBrowser || !rules.hasCachePath || rules.cachePath.empty()) return std::string();
  if (rules.sharedCache) return rules.cachePath;
  return rules.cachePath + std::to_string(nowSeconds);
}

void WriteEngineLog(const std::string& logFile, const std::string& level,
                    const std::string& source, const std::string& text) {
  gint64 now = g_get_real_time();
  time_t seconds = static_cast<time_t>(now / G_USEC_PER_SEC);
  struct tm local {};
  localtime_r(&seconds, &local);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02d%02d/%02d%02d%02d.%03d", local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>((now / 1000) % 1000));
  std::string line = "[" + std::string(stamp) + ":" + level + ":" + source + "] " + text;
  if (line.empty() || line.back() != '\n') line += '\n';
  gchar* folder = g_path_get_dirname(logFile.c_str());
  g_mkdir_with_parents(folder, 0755);
  g_free(folder);
  // One open-append-close per line, like the other logs: nothing to flush
  // when the process dies.
  if (FILE* file = g_fopen(logFile.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
}

namespace {

std::string& EngineLogFile() {
  static std::string path;
  return path;
}

GLogWriterOutput WriteToEngineLog(GLogLevelFlags level, const GLogField* fields, gsize count,
                                  gpointer) {
  const char* name = nullptr;
  if (level & G_LOG_LEVEL_ERROR) name = "FATAL";
  else if (level & G_LOG_LEVEL_CRITICAL) name = "ERROR";
  else if (level & G_LOG_LEVEL_WARNING) name = "WARNING";
  if (!name) return g_log_writer_default(level, fields, count, nullptr);
  std::string domain = "glib", message;
  for (gsize i = 0; i < count; ++i) {
    if (g_strcmp0(fields[i].key, "GLIB_DOMAIN") == 0 && fields[i].value)
      domain = static_cast<const char*>(fields[i].value);
    else if (g_strcmp0(fields[i].key, "MESSAGE") == 0 && fields[i].value)
      message = fields[i].length < 0
                    ? std::string(static_cast<const char*>(fields[i].value))
                    : std::string(static_cast<const char*>(fields[i].value),
                                  static_cast<size_t>(fields[i].length));
  }
  WriteEngineLog(EngineLogFile(), name, domain, message);
  return G_LOG_WRITER_HANDLED;
}

}  // namespace

void InstallEngineLogWriter(const std::string& logFile) {
  // Only this process's messages can be caught here. WebKit's web and network
  // processes are separate programs that write their own messages to the
  // standard error they inherit; they never pass through this writer.
  EngineLogFile() = logFile;
  g_log_set_writer_func(WriteToEngineLog, nullptr, nullptr);
}

}  // namespace vorna

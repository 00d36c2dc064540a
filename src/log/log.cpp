#include "log/log.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "app/paths.h"

namespace vorna {
namespace {

enum class LogKind { kSoftware, kWeb, kCrash };

const char* Prefix(LogKind kind) {
  switch (kind) {
    case LogKind::kSoftware: return "软件日志";
    case LogKind::kWeb: return "网页日志";
    case LogKind::kCrash: return "crash";
  }
  return "";
}

struct LocalTime {
  struct tm tm;
  int milliseconds;
};

LocalTime Now() {
  struct timeval tv;
  gettimeofday(&tv, nullptr);
  LocalTime now{};
  time_t seconds = tv.tv_sec;
  localtime_r(&seconds, &now.tm);
  now.milliseconds = static_cast<int>(tv.tv_usec / 1000);
  return now;
}

void AppendAscii(std::u16string& out, const char* text) {
  for (; *text; ++text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void Append(LogKind kind, const std::u16string& text) {
  LocalTime date = Now();
  char dateText[32];
  snprintf(dateText, sizeof(dateText), "%d%02d%02d", date.tm.tm_year + 1900, date.tm.tm_mon + 1,
           date.tm.tm_mday);
  std::string path = LogFolder() + Prefix(kind) + dateText + ".txt";

  // Exactly one writer creates the file and writes the mark; a racing creator
  // must not truncate records that already landed.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    static const char kBom[] = {'\xFF', '\xFE'};
    bool ok = WriteAll(fd, kBom, sizeof(kBom));
    close(fd);
    if (!ok) return;
  } else if (errno != EEXIST) {
    return;
  }

  std::u16string record = text;
  AppendAscii(record, "\r\n");
  if (kind != LogKind::kWeb) {
    LocalTime t = Now();
    char line[64];
    snprintf(line, sizeof(line), "datetime:%4d/%02d/%02d %02d:%02d:%02d.%03d\r\n",
             t.tm.tm_year + 1900, t.tm.tm_mon + 1, t.tm.tm_mday, t.tm.tm_hour, t.tm.tm_min,
             t.tm.tm_sec, t.milliseconds);
    AppendAscii(record, line);
  }
  std::string bytes = Utf16ToLeBytes(record);

  fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return;
  WriteAll(fd, bytes.data(), bytes.size());
  close(fd);
}

}  // namespace

void WriteSoftwareLog(std::u16string text) { Append(LogKind::kSoftware, text); }
void WriteWebLog(std::u16string text) { Append(LogKind::kWeb, text); }
void WriteCrashLog(std::u16string text) { Append(LogKind::kCrash, text); }

void PurgeOldLogsAt(int days, int64_t nowSeconds) {
  std::string folder = LogFolder();
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  const int64_t limit = static_cast<int64_t>(days) * 86400;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == ".." || name.size() < 4 ||
        name.compare(name.size() - 4, 4, ".txt") != 0)
      continue;
    std::string path = folder + name;
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) continue;
    if (nowSeconds - static_cast<int64_t>(info.st_mtime) > limit) unlink(path.c_str());
  }
  closedir(dir);
}

void PurgeOldLogs(int days) { PurgeOldLogsAt(days, static_cast<int64_t>(time(nullptr))); }

}  // namespace vorna

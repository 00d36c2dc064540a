#include "log/log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <regex>
#include <thread>
#include <vector>

#include "app/paths.h"
#include "program_dir_test.h"
#include "temp_dir.h"

namespace vorna {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::string Utf16Le(const std::u16string& text) {
  std::string out;
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

std::u16string FromUtf16Le(const std::string& bytes) {
  std::u16string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return out;
}

std::string Today() {
  time_t now = time(nullptr);
  struct tm tm;
  localtime_r(&now, &tm);
  char text[32];
  snprintf(text, sizeof(text), "%d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  return text;
}

class LogTest : public test::ProgramDirTest {
 protected:
  std::string LogFile(const std::string& prefix) {
    return dir_.Path() + "log/" + prefix + Today() + ".txt";
  }
};

TEST_F(LogTest, RecordsHaveExactBytesAndMarkOnlyOnCreation) {
  WriteSoftwareLog(u"打印失败");
  WriteSoftwareLog(u"");
  WriteWebLog(u"console text");
  WriteWebLog(u"a\r\nb");
  WriteCrashLog(u"Uncaught TypeError");

  // Software and crash records: text, CR LF, time line, CR LF.
  const std::string timeLine = R"(datetime:\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\.\d{3}\r\n)";
  std::string software = ReadFileBytes(LogFile("软件日志"));
  ASSERT_EQ(software.substr(0, 2), "\xFF\xFE");
  std::string softwareText = Utf16ToUtf8(FromUtf16Le(software.substr(2)));
  EXPECT_TRUE(std::regex_match(softwareText, std::regex("打印失败\r\n" + timeLine + "\r\n" + timeLine)))
      << softwareText;

  EXPECT_EQ(ReadFileBytes(LogFile("网页日志")),
            "\xFF\xFE" + Utf16Le(u"console text\r\na\r\nb\r\n"));

  std::string crash = Utf16ToUtf8(FromUtf16Le(ReadFileBytes(LogFile("crash")).substr(2)));
  EXPECT_TRUE(std::regex_match(crash, std::regex("Uncaught TypeError\r\n" + timeLine))) << crash;
}

TEST_F(LogTest, FileWithoutMarkIsAppendedUnchanged) {
  WriteFileBytes(LogFile("网页日志"), "xy");
  WriteWebLog(u"z");
  EXPECT_EQ(ReadFileBytes(LogFile("网页日志")), "xy" + Utf16Le(u"z\r\n"));
}

TEST(LogWithoutFolder, RecordsAreDroppedSilently) {
  test::TempDir dir;
  SetProgramDirectory(dir.Path());
  WriteSoftwareLog(u"lost");
  WriteWebLog(u"lost");
  SetProgramDirectory("");
  EXPECT_FALSE(FileExists(dir / "log"));
}

TEST_F(LogTest, AppendsFromThreadsAndProcessesAllLand) {
  constexpr int kWriters = 4, kRecords = 150;
  auto writeMany = [] {
    for (int i = 0; i < kRecords; ++i) WriteWebLog(u"0123456789");
  };
  std::vector<pid_t> children;
  for (int p = 0; p < kWriters; ++p) {
    pid_t pid = fork();
    if (pid == 0) {
      writeMany();
      _exit(0);
    }
    children.push_back(pid);
  }
  std::vector<std::thread> threads;
  for (int t = 0; t < kWriters; ++t) threads.emplace_back(writeMany);
  for (auto& t : threads) t.join();
  for (pid_t pid : children) waitpid(pid, nullptr, 0);

  std::string bytes = ReadFileBytes(LogFile("网页日志"));
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::string record = Utf16Le(u"0123456789\r\n");
  ASSERT_EQ(bytes.size(), 2 + record.size() * 2 * kWriters * kRecords);
  for (size_t at = 2; at < bytes.size(); at += record.size())
    ASSERT_EQ(bytes.compare(at, record.size(), record), 0) << "torn record at " << at;
}

TEST_F(LogTest, PurgeKeepsTheBoundaryAndSkipsSubFolders) {
  const int64_t now = 1'800'000'000;
  struct File {
    const char* name;
    int64_t age;
    bool kept;
  };
  const File files[] = {
      {"软件日志20260101.txt", 15 * 86400, true},
      {"网页日志20260101.txt", 15 * 86400 + 1, false},
      {"crash20250101.txt", 400 * 86400, false},
      {"errorLog.txt", 16 * 86400, false},
      {"notes.dat", 400 * 86400, true},
      {"crash20991231.txt", 0, true},
  };
  mkdir((dir_ / "log/old").c_str(), 0755);
  std::string nested = dir_ / "log/old/crash20200101.txt";
  WriteFileBytes(nested, "x");
  struct timeval nestedTimes[2] = {{now - 900 * 86400, 0}, {now - 900 * 86400, 0}};
  utimes(nested.c_str(), nestedTimes);
  for (const File& f : files) {
    std::string path = dir_ / "log/" + f.name;
    WriteFileBytes(path, "x");
    struct timeval times[2] = {{static_cast<time_t>(now - f.age), 0},
                               {static_cast<time_t>(now - f.age), 0}};
    utimes(path.c_str(), times);
  }
  PurgeOldLogsAt(15, now);
  for (const File& f : files) EXPECT_EQ(FileExists(dir_ / "log/" + f.name), f.kept) << f.name;
  EXPECT_TRUE(FileExists(nested));
}

}  // namespace
}  // namespace vorna

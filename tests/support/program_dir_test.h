#pragma once
// A program directory of its own for each test, with its software log readable.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "app/paths.h"
#include "app/text_encoding.h"
#include "temp_dir.h"

namespace vorna::test {

class ProgramDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdir((dir_ / "log").c_str(), 0755);
    SetProgramDirectory(dir_.Path());
  }
  void TearDown() override { SetProgramDirectory(""); }

  // Everything written to the software log so far, as UTF-8.
  std::string SoftwareLog() const {
    std::string text;
    const std::string folder = dir_ / "log/";
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) return text;
    while (dirent* entry = readdir(directory)) {
      std::string name = entry->d_name;
      if (name.rfind("软件日志", 0) != 0) continue;
      std::string bytes = ReadFileBytes(folder + name);
      std::u16string wide;
      for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
      text += Utf16ToUtf8(wide);
    }
    closedir(directory);
    return text;
  }

  TempDir dir_;
};

}  // namespace vorna::test

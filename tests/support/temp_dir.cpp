#include "temp_dir.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vorna::test {

TempDir::TempDir() {
  gchar* dir = g_dir_make_tmp("vorna-test-XXXXXX", nullptr);
  path_ = std::string(dir ? dir : "/tmp") + "/";
  g_free(dir);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool FileExists(const std::string& path) { return g_file_test(path.c_str(), G_FILE_TEST_EXISTS); }

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

}  // namespace vorna::test

#pragma once
// A temporary folder removed with everything in it when the object goes.
#include <string>

namespace vorna::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }  // ends in '/'
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// What a shell command writes to standard output.
std::string CommandOutput(const std::string& command);

}  // namespace vorna::test

#include "app/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

namespace vorna {
namespace {

std::mutex g_programDirMutex;
std::string g_programDirOverride;

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

std::string UserDataDir() {
  const char* dir = g_get_user_data_dir();
  return dir ? dir : "";
}

}  // namespace

std::string ProgramDirectory() {
  {
    std::lock_guard lock(g_programDirMutex);
    if (!g_programDirOverride.empty()) return g_programDirOverride;
  }
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return "./";
  std::string exe(buffer, static_cast<size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1);
}

void SetProgramDirectory(const std::string& directory) {
  std::lock_guard lock(g_programDirMutex);
  g_programDirOverride = directory.empty() ? std::string() : WithSlash(directory);
}

std::string ConfigFilePath() {
  std::string base = UserDataDir();
  if (base.empty()) return "config.ini";
  std::string folder = WithSlash(base) + "quellanrazodazevornaconfig/";
  g_mkdir_with_parents(folder.c_str(), 0700);
  return folder + "config.ini";
}

std::string ProfileFolder() { return WithSlash(UserDataDir()) + "quellanrazodazevorna/"; }

std::string FirewallFile() { return ProgramDirectory() + "vadid.ini"; }

std::string LogFolder() { return ProgramDirectory() + "log/"; }

namespace {

// Returns false when the walk must stop (an entry could not be examined).
bool EmptyFolder(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return true;
  bool keepGoing = true;
  while (keepGoing) {
    dirent* entry = readdir(dir);
    if (!entry) break;
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string path = folder + name;
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
      keepGoing = false;
      break;
    }
    if (S_ISDIR(info.st_mode)) {
      keepGoing = EmptyFolder(path + "/");
      rmdir(path.c_str());
    } else if (unlink(path.c_str()) != 0) {
      // Held or protected: at least drop its contents.
      int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
      if (fd >= 0) close(fd);
    }
  }
  closedir(dir);
  return keepGoing;
}

}  // namespace

void ClearFolder(const std::string& folder) { EmptyFolder(WithSlash(folder)); }

void ClearProfileFolder() { ClearFolder(ProfileFolder()); }

}  // namespace vorna

#pragma once
// Folders and files the client uses. Paths are UTF-8 and folders end in '/'.
#include <string>

namespace vorna {

// Directory of the running executable, with a trailing '/'. A web process is
// not our executable, so the module sets the browser process's value here.
std::string ProgramDirectory();
void SetProgramDirectory(const std::string& directory);

// <user data dir>/quellanrazodazevornaconfig/config.ini; the folder is created.
// "config.ini" (relative) when the user data folder cannot be resolved.
std::string ConfigFilePath();
// <user data dir>/quellanrazodazevorna/
std::string ProfileFolder();
// <program directory>vadid.ini
std::string FirewallFile();
// <program directory>log/
std::string LogFolder();

// Empties `folder` (ending in '/') recursively; the folder itself stays.
// Files that cannot be deleted are truncated instead.
void ClearFolder(const std::string& folder);
void ClearProfileFolder();

}  // namespace vorna

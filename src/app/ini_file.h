#pragma once
// Profile-file access in the manner of the Windows profile functions: read at
// each use, integers parsed from the value's leading digits, writes as text.
#include <string>

namespace vorna {

int ReadIniInt(const std::string& path, const std::string& section, const std::string& key,
               int defaultValue);
// Returns false when the file cannot be written. A file that exists but cannot
// be parsed is left untouched rather than replaced.
bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue);

}  // namespace vorna

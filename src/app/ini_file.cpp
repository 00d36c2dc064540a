#include "app/ini_file.h"

#include <glib.h>

#include <cstdlib>
#include <memory>

namespace vorna {
namespace {

struct KeyFileDeleter {
  void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct GFreeDeleter {
  void operator()(gpointer p) const { g_free(p); }
};
template <typename T>
using GOwned = std::unique_ptr<T, GFreeDeleter>;

constexpr auto kLoadFlags =
    static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);

KeyFile Load(const std::string& path, bool* exists, bool* parsed) {
  KeyFile file(g_key_file_new());
  GError* error = nullptr;
  *parsed = g_key_file_load_from_file(file.get(), path.c_str(), kLoadFlags, &error);
  *exists = *parsed || (error && !g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT));
  if (error) g_error_free(error);
  return file;
}

}  // namespace

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
  bool exists = false, parsed = false;
  KeyFile file = Load(path, &exists, &parsed);
  if (!parsed) return defaultValue;
  GOwned<gchar> value(g_key_file_get_value(file.get(), section.c_str(), key.c_str(), nullptr));
  if (!value) return defaultValue;
  std::string text = value.get();
  // Profile files tolerate spaces around the value.
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

int ReadIniInt(const std::string& path, const std::string& section, const std::string& key,
               int defaultValue) {
  const std::string missing = "\x01";
  std::string text = ReadIniString(path, section, key, missing);
  if (text == missing) return defaultValue;
  // Leading decimal digits, as the Windows profile reader takes them.
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  bool exists = false, parsed = false;
  KeyFile file = Load(path, &exists, &parsed);
  if (exists && !parsed) return false;  // never replace a file we cannot read
  g_key_file_set_value(file.get(), section.c_str(), key.c_str(), value.c_str());
  return g_key_file_save_to_file(file.get(), path.c_str(), nullptr);
}

}  // namespace vorna

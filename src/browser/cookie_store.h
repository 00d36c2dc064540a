#pragma once
// The cookie file in the profile folder. The engine keeps cookies in its own
// network process and never writes session cookies to disk, so the client
// keeps every cookie itself: one line per cookie, fields escaped.
#include <libsoup/soup.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorna {

struct CookieDeleter {
  void operator()(SoupCookie* cookie) const { soup_cookie_free(cookie); }
};
using CookiePtr = std::unique_ptr<SoupCookie, CookieDeleter>;

// File name inside the profile folder.
inline constexpr const char* kCookieFileName = "Cookies";

std::string SerializeCookies(const std::vector<SoupCookie*>& cookies);
// Malformed lines and cookies expired at `nowSeconds` are dropped.
std::vector<CookiePtr> ParseCookies(const std::string& text, int64_t nowSeconds);

// Reads or writes <folder>Cookies; writing replaces the file atomically.
std::vector<CookiePtr> LoadCookieFile(const std::string& folder);
bool SaveCookieFile(const std::string& folder, const std::vector<SoupCookie*>& cookies);

}  // namespace vorna

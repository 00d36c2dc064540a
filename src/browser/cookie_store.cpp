#include "browser/cookie_store.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <sstream>

namespace vorna {
namespace {

constexpr const char* kHeader = "# vorna cookies 1";

std::string Escape(const char* text) {
  gchar* escaped = g_uri_escape_string(text ? text : "", nullptr, FALSE);
  std::string result(escaped);
  g_free(escaped);
  return result;
}

bool Unescape(const std::string& text, std::string& out) {
  gchar* plain = g_uri_unescape_string(text.c_str(), nullptr);
  if (!plain) return false;
  out = plain;
  g_free(plain);
  return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

std::string SerializeCookies(const std::vector<SoupCookie*>& cookies) {
  std::string text = std::string(kHeader) + "\n";
  for (SoupCookie* cookie : cookies) {
    GDateTime* expires = soup_cookie_get_expires(cookie);
    // -1 marks a session cookie: it is kept all the same.
    std::string expiry = expires ? std::to_string(g_date_time_to_unix(expires)) : "-1";
    text += Escape(soup_cookie_get_name(cookie)) + '\t' + Escape(soup_cookie_get_value(cookie)) +
            '\t' + Escape(soup_cookie_get_domain(cookie)) + '\t' +
            Escape(soup_cookie_get_path(cookie)) + '\t' + expiry + '\t' +
            (soup_cookie_get_secure(cookie) ? "1" : "0") + '\t' +
            (soup_cookie_get_http_only(cookie) ? "1" : "0") + '\t' +
            std::to_string(static_cast<int>(soup_cookie_get_same_site_policy(cookie))) + '\n';
  }
  return text;
}

std::vector<CookiePtr> ParseCookies(const std::string& text, int64_t nowSeconds) {
  std::vector<CookiePtr> cookies;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 8) continue;
    std::string name, value, domain, path;
    if (!Unescape(f[0], name) || !Unescape(f[1], value) || !Unescape(f[2], domain) ||
        !Unescape(f[3], path) || domain.empty())
      continue;
    gchar* end = nullptr;
    gint64 expiry = g_ascii_strtoll(f[4].c_str(), &end, 10);
    if (f[4].empty() || *end) continue;
    if (expiry >= 0 && expiry <= nowSeconds) continue;
    int sameSite = f[7] == "1" ? 1 : f[7] == "2" ? 2 : 0;
    if (f[7] != "0" && sameSite == 0) continue;
    CookiePtr cookie(soup_cookie_new(name.c_str(), value.c_str(), domain.c_str(), path.c_str(), -1));
    if (expiry >= 0) {
      GDateTime* when = g_date_time_new_from_unix_utc(expiry);
      if (!when) continue;
      soup_cookie_set_expires(cookie.get(), when);
      g_date_time_unref(when);
    }
    soup_cookie_set_secure(cookie.get(), f[5] == "1");
    soup_cookie_set_http_only(cookie.get(), f[6] == "1");
    soup_cookie_set_same_site_policy(cookie.get(), static_cast<SoupSameSitePolicy>(sameSite));
    cookies.push_back(std::move(cookie));
  }
  return cookies;
}

std::vector<CookiePtr> LoadCookieFile(const std::string& folder) {
  gchar* contents = nullptr;
  gsize length = 0;
  std::string path = folder + kCookieFileName;
  if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) return {};
  std::string text(contents, length);
  g_free(contents);
  return ParseCookies(text, g_get_real_time() / G_USEC_PER_SEC);
}

bool SaveCookieFile(const std::string& folder, const std::vector<SoupCookie*>& cookies) {
  if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) return false;
  std::string text = SerializeCookies(cookies);
  std::string path = folder + kCookieFileName;
  return g_file_set_contents_full(path.c_str(), text.data(), static_cast<gssize>(text.size()),
                                  G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr);
}

}  // namespace vorna

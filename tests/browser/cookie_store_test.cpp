#include "browser/cookie_store.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace vorna {
namespace {

constexpr int64_t kNow = 1800000000;

CookiePtr MakeCookie(const char* name, const char* value, const char* domain, int64_t expires) {
  CookiePtr cookie(soup_cookie_new(name, value, domain, "/", -1));
  if (expires >= 0) {
    GDateTime* when = g_date_time_new_from_unix_utc(expires);
    soup_cookie_set_expires(cookie.get(), when);
    g_date_time_unref(when);
  }
  return cookie;
}

TEST(CookieFile, SessionAndPersistentCookiesRoundTrip) {
  test::TempDir dir;
  std::vector<CookiePtr> cookies;
  cookies.push_back(MakeCookie("session", "a b\tc\nd;e=f%", "127.0.0.1", -1));
  cookies.push_back(MakeCookie("kept", "中文", ".shop.example", kNow + 3600));
  soup_cookie_set_secure(cookies[1].get(), TRUE);
  soup_cookie_set_http_only(cookies[1].get(), TRUE);
  soup_cookie_set_same_site_policy(cookies[1].get(), SOUP_SAME_SITE_POLICY_STRICT);
  std::vector<SoupCookie*> raw{cookies[0].get(), cookies[1].get()};
  std::string text = SerializeCookies(raw);

  std::vector<CookiePtr> back = ParseCookies(text, kNow);
  ASSERT_EQ(back.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(soup_cookie_equal(back[i].get(), cookies[i].get())) << i;
    EXPECT_STREQ(soup_cookie_get_value(back[i].get()), soup_cookie_get_value(cookies[i].get()));
  }
  EXPECT_EQ(soup_cookie_get_expires(back[0].get()), nullptr);
  EXPECT_EQ(g_date_time_to_unix(soup_cookie_get_expires(back[1].get())), kNow + 3600);
  EXPECT_TRUE(soup_cookie_get_secure(back[1].get()));
  EXPECT_TRUE(soup_cookie_get_http_only(back[1].get()));
  EXPECT_EQ(soup_cookie_get_same_site_policy(back[1].get()), SOUP_SAME_SITE_POLICY_STRICT);

  ASSERT_TRUE(SaveCookieFile(dir / "profile/", raw));
  EXPECT_EQ(test::ReadFileBytes(dir / "profile/Cookies"), text);
}

TEST(CookieFile, ExpiredAndMalformedLinesAreDropped) {
  std::string text =
      "# vorna cookies 1\n"
      "old\tv\thost\t/\t1000\t0\t0\t0\n"          // expired
      "short\tv\thost\n"                          // too few fields
      "nodomain\tv\t\t/\t-1\t0\t0\t0\n"           // no domain
      "badexpiry\tv\thost\t/\t12x\t0\t0\t0\n"     // not a number
      "badsite\tv\thost\t/\t-1\t0\t0\t9\n"        // unknown same-site value
      "badescape\t%ZZ%\thost\t/\t-1\t0\t0\t0\n"   // broken escape
      "good\tv\thost\t/\t-1\t0\t0\t1\n"
      "\n";
  std::vector<CookiePtr> cookies = ParseCookies(text, kNow);
  ASSERT_EQ(cookies.size(), 1u);
  EXPECT_STREQ(soup_cookie_get_name(cookies[0].get()), "good");
  EXPECT_TRUE(ParseCookies(std::string("\0\xff garbage", 10), kNow).empty());
  EXPECT_TRUE(LoadCookieFile("/nonexistent/folder/").empty());
}

}  // namespace
}  // namespace vorna

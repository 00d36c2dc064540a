#include "browser/engine_context.h"

#include <glib/gstdio.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include <vector>

#include "app/deployment.h"
#include "app/paths.h"
#include "browser/cookie_store.h"
#include "log/log.h"

namespace vorna {
namespace {

constexpr unsigned kCookieSaveDelayMs = 500;
constexpr unsigned kEngineWaitMs = 5000;

// Runs the main context until `done` is set or `timeoutMs` pass.
bool RunUntil(const bool& done, unsigned timeoutMs) {
  gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * 1000;
  while (!done && g_get_monotonic_time() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
  }
  return done;
}

void RemoveFolder(const std::string& folder) {
  if (folder.empty()) return;
  ClearFolder(folder);
  g_rmdir(folder.c_str());
}

constexpr const char* kRunFolderPrefix = "vorna-engine-";

// Run folders of clients that ended without tidying up (killed, crashed):
// "vorna-engine-<pid>-XXXXXX" whose process is gone.
void RemoveAbandonedRunFolders() {
  const std::string tmp = g_get_tmp_dir();
  GDir* dir = g_dir_open(tmp.c_str(), 0, nullptr);
  if (!dir) return;
  std::vector<std::string> abandoned;
  const std::string prefix = kRunFolderPrefix;
  while (const char* name = g_dir_read_name(dir)) {
    if (std::string(name).rfind(prefix, 0) != 0) continue;
    char* end = nullptr;
    long pid = std::strtol(name + prefix.size(), &end, 10);
    if (pid <= 0 || !end || *end != '-') continue;
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::string path = tmp + "/" + name;
    GStatBuf info;
    if (g_lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid())
      abandoned.push_back(path + "/");
  }
  g_dir_close(dir);
  for (const auto& folder : abandoned) RemoveFolder(folder);
}

WebKitWebsiteDataManager* DataManagerIn(const std::string& folder) {
  std::string data = folder + "data", cache = folder + "cache";
  return webkit_website_data_manager_new("base-data-directory", data.c_str(),
                                         "base-cache-directory", cache.c_str(), nullptr);
}

struct CookieFetch {
  bool done = false;
  bool failed = false;  // an empty list then means nothing, not "no cookies"
  std::vector<CookiePtr> cookies;
};

void OnAllCookies(GObject* source, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GList* list =
      webkit_cookie_manager_get_all_cookies_finish(WEBKIT_COOKIE_MANAGER(source), result, &error);
  if (error) {
    bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_error_free(error);
    if (cancelled) return;  // the waiter has gone
    static_cast<CookieFetch*>(data)->failed = true;
  }
  auto* fetch = static_cast<CookieFetch*>(data);
  for (GList* item = list; item; item = item->next)
    fetch->cookies.emplace_back(static_cast<SoupCookie*>(item->data));
  g_list_free(list);
  fetch->done = true;
}

std::vector<SoupCookie*> Raw(const std::vector<CookiePtr>& cookies) {
  std::vector<SoupCookie*> raw;
  for (const auto& cookie : cookies) raw.push_back(cookie.get());
  return raw;
}

}  // namespace

EngineContext::EngineContext(const EngineSettings& settings, const RequestContextRules& rules,
                             std::string programDirectory, std::string profileFolder,
                             Deployment deployment)
    : engineSettings_(settings),
      rules_(rules),
      programDirectory_(std::move(programDirectory)),
      profileFolder_(std::move(profileFolder)),
      deployment_(std::move(deployment)) {
  // The inspector server starts with the first web context and reads its
  // address from the environment then; loopback only.
  g_setenv("WEBKIT_INSPECTOR_HTTP_SERVER", kRemoteInspectorAddress, TRUE);

  settings_ = webkit_settings_new();
  webkit_settings_set_hardware_acceleration_policy(settings_,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  webkit_settings_set_enable_developer_extras(settings_, TRUE);
  webkit_settings_set_javascript_can_open_windows_automatically(settings_, TRUE);

  // The engine's own storage and HTTP cache live for one run only; cookies
  // are kept apart, in the profile folder.
  RemoveAbandonedRunFolders();
  std::string pattern = std::string(kRunFolderPrefix) + std::to_string(getpid()) + "-XXXXXX";
  if (gchar* folder = g_dir_make_tmp(pattern.c_str(), nullptr)) {
    runFolder_ = std::string(folder) + "/";
    g_free(folder);
  } else {
    WriteEngineLog(engineSettings_.logFile, "ERROR", "browser/engine_context",
                   "cannot create the engine's run folder");
  }
}

EngineContext::~EngineContext() {
  if (cookies_) {
    SaveCookiesNow();
    g_signal_handlers_disconnect_by_data(cookies_, this);
  }
  if (saveTimer_) g_source_remove(saveTimer_);
  if (cancellable_) {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
  }
  if (shared_) g_object_unref(shared_);
  if (settings_) g_object_unref(settings_);
  RemoveFolder(runFolder_);
}

WebKitWebContext* EngineContext::NewContext(WebKitWebsiteDataManager* dataManager) {
  WebKitWebContext* context = webkit_web_context_new_with_website_data_manager(dataManager);
  g_object_unref(dataManager);
  // The engine has no interface language of its own to set to zh-CN: its few
  // texts follow the process locale. The preferred languages are what the
  // page sees (Accept-Language, navigator.languages).
  if (!engineSettings_.acceptLanguages.empty()) {
    std::vector<const gchar*> languages;
    for (const auto& language : engineSettings_.acceptLanguages) languages.push_back(language.c_str());
    languages.push_back(nullptr);
    webkit_web_context_set_preferred_languages(context, languages.data());
  }
  // Plug-ins: the engine loads none, so the one allowed plug-in type has
  // nothing to act on and no policy hook exists.
  g_signal_connect(context, "initialize-web-extensions", G_CALLBACK(OnInitializeWebExtensions),
                   this);
  return context;
}

WebKitWebContext* EngineContext::SharedContext() {
  if (shared_) return shared_;
  shared_ = NewContext(runFolder_.empty() ? webkit_website_data_manager_new_ephemeral()
                                          : DataManagerIn(runFolder_));
  WebKitWebsiteDataManager* data = webkit_web_context_get_website_data_manager(shared_);
  cookies_ = webkit_website_data_manager_get_cookie_manager(data);
  webkit_cookie_manager_set_accept_policy(cookies_, WEBKIT_COOKIE_POLICY_ACCEPT_ALWAYS);
  cancellable_ = g_cancellable_new();
  RestoreCookies();
  g_signal_connect(cookies_, "changed", G_CALLBACK(OnCookiesChanged), this);
  return shared_;
}

WebKitWebContext* EngineContext::ContextForNewBrowser() {
  if (!rules_.perBrowser) return WEBKIT_WEB_CONTEXT(g_object_ref(SharedContext()));
  std::string cache = PerBrowserCachePath(rules_, g_get_real_time() / G_USEC_PER_SEC);
  if (cache.empty()) return NewContext(webkit_website_data_manager_new_ephemeral());
  if (cache.back() != '/') cache += '/';
  return NewContext(DataManagerIn(cache));
}

void EngineContext::RestoreCookies() {
  std::vector<CookiePtr> saved = LoadCookieFile(profileFolder_);
  if (saved.empty()) return;
  GList* list = nullptr;
  for (auto& cookie : saved) list = g_list_prepend(list, cookie.get());
  list = g_list_reverse(list);
  bool done = false;
  webkit_cookie_manager_replace_cookies(
      cookies_, list, cancellable_,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        GError* error = nullptr;
        webkit_cookie_manager_replace_cookies_finish(WEBKIT_COOKIE_MANAGER(source), result, &error);
        bool cancelled = error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (error) g_error_free(error);
        if (!cancelled) *static_cast<bool*>(data) = true;
      },
      &done);
  g_list_free(list);
  // The first page must see the restored cookies.
  if (!RunUntil(done, kEngineWaitMs)) {
    RenewCancellable();
    WriteSoftwareLog(u"恢复Cookie超时");
  }
}

void EngineContext::RenewCancellable() {
  // Cancels what is pending on the cookie manager; later calls get a fresh one.
  g_cancellable_cancel(cancellable_);
  g_object_unref(cancellable_);
  cancellable_ = g_cancellable_new();
}

void EngineContext::OnCookiesChanged(WebKitCookieManager*, gpointer self) {
  static_cast<EngineContext*>(self)->ScheduleCookieSave();
}

void EngineContext::ScheduleCookieSave() {
  if (saveTimer_) g_source_remove(saveTimer_);
  saveTimer_ = g_timeout_add(
      kCookieSaveDelayMs,
      [](gpointer self) -> gboolean {
        auto* engine = static_cast<EngineContext*>(self);
        engine->saveTimer_ = 0;
        engine->StartBackgroundSave();
        return G_SOURCE_REMOVE;
      },
      this);
}

void EngineContext::StartBackgroundSave() {
  if (saving_) {
    saveAgain_ = true;
    return;
  }
  saving_ = true;
  webkit_cookie_manager_get_all_cookies(
      cookies_, cancellable_,
      [](GObject* source, GAsyncResult* result, gpointer self) {
        CookieFetch fetch;
        OnAllCookies(source, result, &fetch);
        if (!fetch.done) return;  // cancelled: the context is going away
        auto* engine = static_cast<EngineContext*>(self);
        engine->saving_ = false;
        if (!fetch.failed) SaveCookieFile(engine->profileFolder_, Raw(fetch.cookies));
        if (engine->saveAgain_) {
          engine->saveAgain_ = false;
          engine->StartBackgroundSave();
        }
      },
      this);
}

void EngineContext::SaveCookiesNow() {
  if (!cookies_) return;
  if (saveTimer_) {
    g_source_remove(saveTimer_);
    saveTimer_ = 0;
  }
  // A background save still running is superseded by this one.
  RenewCancellable();
  saving_ = saveAgain_ = false;
  CookieFetch fetch;
  webkit_cookie_manager_get_all_cookies(cookies_, cancellable_, OnAllCookies, &fetch);
  if (!RunUntil(fetch.done, kEngineWaitMs)) {
    g_cancellable_cancel(cancellable_);
    WriteSoftwareLog(u"保存Cookie超时");
    return;
  }
  if (!fetch.failed) SaveCookieFile(profileFolder_, Raw(fetch.cookies));
}

void EngineContext::OnInitializeWebExtensions(WebKitWebContext* context, gpointer self) {
  auto* engine = static_cast<EngineContext*>(self);
  std::string folder = engine->programDirectory_ + "webext/";
  webkit_web_context_set_web_extensions_directory(context, folder.c_str());
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
  auto add = [&builder](const char* key, const std::string& value) {
    g_variant_builder_add(&builder, "{sv}", key, g_variant_new_string(value.c_str()));
  };
  add("programDirectory", engine->programDirectory_);
  add("serviceOrigin", engine->deployment_.serviceOrigin);
  add("vendorSite", engine->deployment_.vendorSite);
  add("channelHost", engine->deployment_.channelHost);
  add("startUrl", StartUrlOf(engine->deployment_));
  webkit_web_context_set_web_extensions_initialization_user_data(context,
                                                                 g_variant_builder_end(&builder));
}

}  // namespace vorna

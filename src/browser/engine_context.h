#pragma once
// The engine side of the browser process: the web contexts (one shared by
// default, one per browser on request), the settings every web view gets,
// the web-extension module's folder and start-up data, the remote inspector,
// and the cookies kept in the profile folder.
#include <webkit2/webkit2.h>

#include <string>

#include "app/deployment.h"
#include "app/engine_settings.h"

namespace vorna {

class EngineContext {
 public:
  EngineContext(const EngineSettings& settings, const RequestContextRules& rules,
                std::string programDirectory, std::string profileFolder, Deployment deployment);
  // Saves the cookies one last time and removes this run's engine folder.
  ~EngineContext();
  EngineContext(const EngineContext&) = delete;
  EngineContext& operator=(const EngineContext&) = delete;

  // The context for a new browser: the shared one, or a new one per browser.
  // The caller owns the returned reference.
  WebKitWebContext* ContextForNewBrowser();
  // Settings for a new web view (no GPU, developer extras for the inspector).
  WebKitSettings* Settings() const { return settings_; }
  unsigned BackgroundColor() const { return engineSettings_.backgroundColor; }

  // Writes the cookie file now; waits at most a few seconds for the engine.
  void SaveCookiesNow();

 private:
  WebKitWebContext* NewContext(WebKitWebsiteDataManager* dataManager);
  WebKitWebContext* SharedContext();
  void RestoreCookies();
  void RenewCancellable();
  void ScheduleCookieSave();
  void StartBackgroundSave();
  static void OnCookiesChanged(WebKitCookieManager* manager, gpointer self);
  static void OnInitializeWebExtensions(WebKitWebContext* context, gpointer self);

  EngineSettings engineSettings_;
  RequestContextRules rules_;
  std::string programDirectory_;
  std::string profileFolder_;
  Deployment deployment_;
  std::string runFolder_;  // engine data and cache of this run, removed at exit
  WebKitSettings* settings_ = nullptr;
  WebKitWebContext* shared_ = nullptr;
  WebKitCookieManager* cookies_ = nullptr;
  GCancellable* cancellable_ = nullptr;  // pending cookie operations
  unsigned saveTimer_ = 0;
  bool saving_ = false;
  bool saveAgain_ = false;
};

}  // namespace vorna

#include "app/startup.h"

#include <glib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/paths.h"

namespace vorna {

bool HandleClearCacheRequest() {
  std::string config = ConfigFilePath();
  if (ReadIniInt(config, "Cache", "clearCache", 0) != 1) return false;
  WriteIniString(config, "Cache", "clearCache", "0");
  ClearProfileFolder();
  return true;
}

bool EnsureFirewallRule(const std::string& iniPath, const std::function<void()>& addRule) {
  if (ReadIniInt(iniPath, "addFirewall", "isAdd", 0) != 0) return false;
  if (addRule) addRule();
  // Recorded even when the rule failed: it is tried once per installation.
  WriteIniString(iniPath, "addFirewall", "isAdd", "1");
  return true;
}

namespace {

bool UfwEnabled() {
  std::ifstream conf("/etc/ufw/ufw.conf");
  std::string line;
  while (std::getline(conf, line))
    if (line.rfind("ENABLED=", 0) == 0) return line.find("yes") != std::string::npos;
  return false;
}

bool FirewalldRunning() {
  gchar* path = g_find_program_in_path("firewall-cmd");
  if (!path) return false;
  g_free(path);
  gint status = 1;
  const gchar* argv[] = {"firewall-cmd", "--state", nullptr};
  if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
                    static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL |
                                             G_SPAWN_STDERR_TO_DEV_NULL),
                    nullptr, nullptr, nullptr, nullptr, &status, nullptr))
    return false;
  return g_spawn_check_wait_status(status, nullptr);
}

void SpawnDetached(std::vector<std::string> args) {
  if (getuid() != 0) args.insert(args.begin(), "pkexec");
  std::vector<gchar*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  g_spawn_async(nullptr, argv.data(), nullptr,
                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL |
                                         G_SPAWN_STDERR_TO_DEV_NULL),
                nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

void AddFirewallRuleForMobileCalls() {
  // Mobile call announcements arrive on UDP 53526; with no active firewall
  // there is nothing to open.
  if (UfwEnabled()) {
    SpawnDetached({"ufw", "allow", "53526/udp", "comment", "vornashanghu"});
  } else if (FirewalldRunning()) {
    SpawnDetached({"firewall-cmd", "--permanent", "--add-port=53526/udp"});
    SpawnDetached({"firewall-cmd", "--add-port=53526/udp"});
  }
}

Rect MainWindowStartRect(int screenWidth, int screenHeight) {
  return Rect{screenWidth - 500, 0, 480, static_cast<int>(screenHeight * 0.9)};
}

}  // namespace vorna

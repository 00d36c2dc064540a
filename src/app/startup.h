#pragma once
// Start-up steps that need no display, kept apart so they can be tested.
#include <functional>
#include <string>

namespace vorna {

// [Cache] clearCache of the configuration file: 1 means empty the profile
// folder now (and reset the key to 0). Returns true when the folder was cleared.
bool HandleClearCacheRequest();

// Runs `addRule` once per installation, recorded as [addFirewall] isAdd=1 in
// `iniPath`. Returns true when the rule was attempted now.
bool EnsureFirewallRule(const std::string& iniPath, const std::function<void()>& addRule);
// The real rule: UDP 53526 through ufw or firewalld when one is active.
void AddFirewallRuleForMobileCalls();

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};
// Outer top-left at (screen width - 500, 0); client area 480 x 90% of the height.
Rect MainWindowStartRect(int screenWidth, int screenHeight);


}  // namespace vorna

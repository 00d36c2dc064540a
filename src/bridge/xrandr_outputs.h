#pragma once
// Monitors and outputs as the X server's RandR reports them: the second
// monitor, and the xrandr command that places the second output right of the
// primary one.
#include <string>
#include <vector>

namespace vorna {

struct XrandrOutput {
  std::string name;
  bool primary = false;
};

// Connected outputs in the order xrandr lists them.
std::vector<XrandrOutput> ParseXrandrOutputs(const std::string& query);
// Empty when there are fewer than two connected outputs.
std::vector<std::string> ExtendDesktopCommand(const std::vector<XrandrOutput>& outputs);

struct MonitorArea {
  int x = 0, y = 0, width = 0, height = 0;
  bool primary = false;
};
// The first monitor that is not the primary one (the first monitor when none
// is marked primary); all zeros when there is none.
MonitorArea SecondMonitor(const std::vector<MonitorArea>& monitors);

}  // namespace vorna

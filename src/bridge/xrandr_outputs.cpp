#include "bridge/xrandr_outputs.h"

#include <sstream>

namespace vorna {

std::vector<XrandrOutput> ParseXrandrOutputs(const std::string& query) {
  std::vector<XrandrOutput> outputs;
  std::istringstream lines(query);
  std::string line;
  while (std::getline(lines, line)) {
    // Output lines start in column 0: "NAME connected [primary] ...".
    if (line.empty() || line[0] == ' ' || line[0] == '\t') continue;
    std::istringstream words(line);
    std::string name, state, third;
    words >> name >> state >> third;
    if (state != "connected") continue;
    outputs.push_back({name, third == "primary"});
  }
  return outputs;
}

std::vector<std::string> ExtendDesktopCommand(const std::vector<XrandrOutput>& outputs) {
  if (outputs.size() < 2) return {};
  size_t primary = 0;
  for (size_t i = 0; i < outputs.size(); ++i)
    if (outputs[i].primary) {
      primary = i;
      break;
    }
  size_t second = primary == 0 ? 1 : 0;
  return {"xrandr", "--output", outputs[second].name, "--auto", "--right-of",
          outputs[primary].name};
}

MonitorArea SecondMonitor(const std::vector<MonitorArea>& monitors) {
  size_t primary = 0;
  for (size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].primary) {
      primary = i;
      break;
    }
  for (size_t i = 0; i < monitors.size(); ++i)
    if (i != primary) return monitors[i];
  return {};
}

}  // namespace vorna

#pragma once
// Reading `xrandr --query` and building the command that places the second
// connected output right of the primary one.
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

}  // namespace vorna

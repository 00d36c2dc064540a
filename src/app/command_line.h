#pragma once
// The process command line with switches in the engine's style:
// "--name", "--name=value" (a single leading '-' is accepted too).
#include <map>
#include <string>
#include <vector>

namespace vorna {

class CommandLine {
 public:
  CommandLine() = default;
  CommandLine(int argc, const char* const* argv);
  explicit CommandLine(const std::vector<std::string>& args);

  bool HasSwitch(const std::string& name) const;
  std::string GetSwitchValue(const std::string& name) const;  // "" when absent
  void AppendSwitch(const std::string& name, const std::string& value = "");
  const std::vector<std::string>& Arguments() const { return arguments_; }
  // Switches in the order they were first given or appended.
  std::vector<std::pair<std::string, std::string>> Switches() const;

 private:
  std::vector<std::pair<std::string, std::string>> switches_;
  std::vector<std::string> arguments_;
};

}  // namespace vorna

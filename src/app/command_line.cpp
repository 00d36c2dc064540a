#include "app/command_line.h"

namespace vorna {

CommandLine::CommandLine(int argc, const char* const* argv)
    : CommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)) {}

CommandLine::CommandLine(const std::vector<std::string>& args) {
  bool switchesEnded = false;
  for (const auto& arg : args) {
    if (!switchesEnded && arg == "--") {
      switchesEnded = true;
      continue;
    }
    if (switchesEnded || arg.size() < 2 || arg[0] != '-') {
      arguments_.push_back(arg);
      continue;
    }
    std::string body = arg.substr(arg[1] == '-' ? 2 : 1);
    size_t eq = body.find('=');
    if (eq == std::string::npos) AppendSwitch(body);
    else AppendSwitch(body.substr(0, eq), body.substr(eq + 1));
  }
}

bool CommandLine::HasSwitch(const std::string& name) const {
  for (const auto& [key, value] : switches_)
    if (key == name) return true;
  return false;
}

std::string CommandLine::GetSwitchValue(const std::string& name) const {
  for (const auto& [key, value] : switches_)
    if (key == name) return value;
  return std::string();
}

void CommandLine::AppendSwitch(const std::string& name, const std::string& value) {
  for (auto& [key, existing] : switches_)
    if (key == name) {
      existing = value;
      return;
    }
  switches_.emplace_back(name, value);
}

std::vector<std::pair<std::string, std::string>> CommandLine::Switches() const {
  return switches_;
}

}  // namespace vorna

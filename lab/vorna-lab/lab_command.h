#pragma once
// One group of vorna-lab subcommands ("printer", later readers, cards, ...).
#include <ostream>
#include <string>
#include <vector>

namespace vorna::lab {

struct CommandGroup {
  const char* name;
  const char* usage;  // one line per subcommand, without the program name
  // Runs the words after the group name; returns the exit status.
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// Exit statuses shared by the groups.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

extern const CommandGroup kPrinterCommands;

}  // namespace vorna::lab

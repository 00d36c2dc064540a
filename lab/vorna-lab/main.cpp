// vorna-lab GROUP COMMAND [ARGS...]: acts on the device lab in
// $VORNA_DEVICE_LAB (else the user's data folder).
#include <iostream>
#include <string>
#include <vector>

#include "lab_command.h"
#include "platform/usb_printers.h"

namespace {

using vorna::lab::CommandGroup;

const CommandGroup* const kGroups[] = {&vorna::lab::kPrinterCommands};

void PrintUsage(std::ostream& out) {
  out << "usage:\n";
  for (const CommandGroup* group : kGroups) out << group->usage;
  out << "lab folder: " << vorna::DeviceLabFolder() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "help" || args[0] == "--help") {
    PrintUsage(args.empty() ? std::cerr : std::cout);
    return args.empty() ? vorna::lab::kExitUsage : vorna::lab::kExitOk;
  }
  for (const CommandGroup* group : kGroups) {
    if (args[0] != group->name) continue;
    return group->run(std::vector<std::string>(args.begin() + 1, args.end()), std::cout, std::cerr);
  }
  std::cerr << "vorna-lab: unknown device \"" << args[0] << "\"\n";
  PrintUsage(std::cerr);
  return vorna::lab::kExitUsage;
}

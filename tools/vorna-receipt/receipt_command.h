#pragma once
// The "render" command of vorna-receipt, separate from main() so its argument
// handling reads on its own.
#include <optional>
#include <string>
#include <vector>

namespace vorna {

struct RenderCommand {
  int paperWidth = 58;
  int copy = 1;
  std::string templatePath;
};

// Arguments after the program name; nothing when they do not form a command,
// with the reason in `error`.
std::optional<RenderCommand> ParseRenderCommand(const std::vector<std::string>& args,
                                                std::string& error);

// Exit status when the template file cannot be read (no print result applies).
inline constexpr int kCannotReadTemplate = 66;

// Renders the file to standard output; returns the print result code.
int RunRenderCommand(const RenderCommand& command);

}  // namespace vorna

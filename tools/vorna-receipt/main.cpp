// vorna-receipt render [--paper N] [--copy K] TEMPLATE_FILE
// Writes the bytes a print job would send for copy K to standard output; the
// job's log texts go to standard error as well. Exit status: the print result
// code (0, or 3 for a template that does not parse or renders nothing).
#include <clocale>
#include <iostream>

#include "app/text_encoding.h"
#include "receipt_command.h"

namespace {

constexpr int kUsageError = 64;

constexpr char kUsage[] =
    "usage: vorna-receipt render [--paper N] [--copy K] TEMPLATE_FILE\n"
    "  TEMPLATE_FILE  receipt template, UTF-8\n"
    "  --paper N      paper width in mm: 58 (default), 76 or 80\n"
    "  --copy K       copy number for the copy placeholders (default 1)\n";

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  vorna::ChoosePrinterCodePage();
  std::string error;
  std::optional<vorna::RenderCommand> command =
      vorna::ParseRenderCommand(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!command) {
    std::cerr << "vorna-receipt: " << error << "\n" << kUsage;
    return kUsageError;
  }
  return vorna::RunRenderCommand(*command);
}

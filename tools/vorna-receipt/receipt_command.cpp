#include "receipt_command.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include "app/text_encoding.h"
#include "log/log.h"
#include "printing/receipt.h"
#include "printing/receipt_image_step.h"

namespace vorna {
namespace {

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

// "--name N" or "--name=N".
bool TakeOption(const std::vector<std::string>& args, size_t& i, const std::string& name,
                int& value, std::string& error) {
  const std::string& arg = args[i];
  std::string text;
  if (arg == name) {
    if (i + 1 >= args.size()) {
      error = name + " needs a number";
      return false;
    }
    text = args[++i];
  } else {
    text = arg.substr(name.size() + 1);
  }
  if (!ParseInt(text, value)) {
    error = name + " needs a number, not \"" + text + "\"";
    return false;
  }
  return true;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::optional<RenderCommand> ParseRenderCommand(const std::vector<std::string>& args,
                                                std::string& error) {
  if (args.empty() || args[0] != "render") {
    error = "unknown command";
    return std::nullopt;
  }
  RenderCommand command;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--paper" || StartsWith(arg, "--paper=")) {
      if (!TakeOption(args, i, "--paper", command.paperWidth, error)) return std::nullopt;
    } else if (arg == "--copy" || StartsWith(arg, "--copy=")) {
      if (!TakeOption(args, i, "--copy", command.copy, error)) return std::nullopt;
    } else if (StartsWith(arg, "--") || !command.templatePath.empty()) {
      error = "unexpected argument \"" + arg + "\"";
      return std::nullopt;
    } else {
      command.templatePath = arg;
    }
  }
  if (command.templatePath.empty()) {
    error = "no template file";
    return std::nullopt;
  }
  return command;
}

int RunRenderCommand(const RenderCommand& command) {
  std::ifstream file(command.templatePath, std::ios::binary);
  if (!file) {
    std::cerr << "vorna-receipt: cannot read " << command.templatePath << "\n";
    return kCannotReadTemplate;
  }
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ReceiptRenderOptions options;
  options.paperWidth = command.paperWidth;
  // Images are fetched and converted into the program directory, as a job does.
  options.prepareImage = DownloadingImagePreparer();
  options.log = [](const std::u16string& line) {
    WriteSoftwareLog(line);
    std::cerr << Utf16ToUtf8(line) << "\n";
  };
  RenderedReceipt receipt = RenderReceipt(Utf8ToUtf16(text), options);
  if (receipt.result != kPrintOk) return receipt.result;
  std::string bytes = SubstituteCopyNumber(std::move(receipt.bytes), command.copy);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
  return kPrintOk;
}

}  // namespace vorna

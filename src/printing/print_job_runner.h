#pragma once
// Runs receipt and cash-drawer jobs against the first known printer.
#include <cstdint>
#include <functional>
#include <string>

#include "printing/print_job.h"

namespace vorna {

class PrinterLocator;

// How a template becomes printer bytes; the renderer plugs in here.
struct ReceiptRendering {
  // One copy's bytes for the paper width, images prepared; returns kPrintOk
  // or kPrintTemplateFailed (template error or no bytes).
  std::function<int(const std::u16string& templateText, int32_t paperWidth, std::string& bytes)>
      render;
  // Puts the copy number (1-based) into one copy's bytes.
  std::function<void(std::string& bytes, int copy)> substituteCopyNumber;
};

// The renderer linked into this build, with receipt images prepared.
ReceiptRendering DefaultReceiptRendering();

inline constexpr char kOpenCashDrawerBytes[] = "\x1B\x40\x1B\x70\x00\x64\x64";
inline constexpr size_t kOpenCashDrawerSize = 7;

class ReceiptPrinter {
 public:
  ReceiptPrinter(PrinterLocator& locator, ReceiptRendering rendering);

  // Result code of PrintResult.
  int printJob(const std::u16string& templateText, int32_t paperWidth, int32_t copies);
  void openCashDrawer();

 private:
  PrinterLocator& locator_;
  ReceiptRendering rendering_;
};

}  // namespace vorna

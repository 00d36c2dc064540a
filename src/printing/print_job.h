#pragma once
// One unit of work for the print thread, and the results of a receipt job.
#include <cstdint>
#include <string>

namespace vorna {

enum PrintJobType : int32_t {
  kPrintJobReceipt = 1,
  kPrintJobOpenCashDrawer = 2,
  kPrintJobFindPrinters = 3,
  kPrintJobStop = 4,
};

// Result codes of a receipt job; the page receives them as numbers.
enum PrintResult : int {
  kPrintOk = 0,             // printed, or nothing to print
  kPrintNoPrinter = 1,      // no printer known
  kPrintDeviceFailed = 2,   // the printer could not be opened or written
  kPrintTemplateFailed = 3, // the template did not parse or rendered nothing
};

inline constexpr int32_t kDefaultPaperWidth = 58;

struct PrintJob {
  int32_t paperWidth = kDefaultPaperWidth;
  int32_t copies = 1;
  std::u16string orderNumber;  // at most 64 UTF-16 units
  std::u16string templateText;
  int32_t type = 0;
};

}  // namespace vorna

#include "printing/printer_locator.h"

#include "platform/usb_printers.h"

namespace vorna {

PrinterLocator::PrinterLocator(Discover discover) : discover_(std::move(discover)) {
  if (!discover_) discover_ = FindPrinterPaths;
}

void PrinterLocator::refresh() { paths_ = discover_(); }

bool PrinterLocator::firstPath(std::string& path) const {
  if (paths_.empty()) return false;
  path = paths_.front();
  return true;
}

}  // namespace vorna

#include "printing/print_job_runner.h"

#include "log/log.h"

namespace vorna {

#ifndef VORNA_HAVE_RECEIPT_RENDER
// Built without the renderer: every receipt is a template failure.
ReceiptRendering DefaultReceiptRendering() {
  ReceiptRendering rendering;
  rendering.render = [](const std::u16string&, int32_t, std::string&) {
    return static_cast<int>(kPrintTemplateFailed);
  };
  rendering.substituteCopyNumber = [](std::string&, int) {};
  return rendering;
}
#endif

}  // namespace vorna

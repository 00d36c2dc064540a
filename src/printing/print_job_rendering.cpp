#include "printing/print_job_runner.h"

#ifdef VORNA_HAVE_RECEIPT_RENDER
#include "printing/receipt.h"
#include "printing/receipt_image_step.h"
#endif

namespace vorna {

#ifdef VORNA_HAVE_RECEIPT_RENDER
ReceiptRendering DefaultReceiptRendering() {
  ReceiptRendering rendering;
  rendering.render = [](const std::u16string& templateText, int32_t paperWidth,
                        std::string& bytes) {
    ReceiptRenderOptions options;
    options.paperWidth = paperWidth;
    options.prepareImage = DownloadingImagePreparer();
    RenderedReceipt rendered = RenderReceipt(templateText, options);
    bytes = std::move(rendered.bytes);
    return rendered.result;
  };
  rendering.substituteCopyNumber = [](std::string& bytes, int copy) {
    bytes = SubstituteCopyNumber(std::move(bytes), copy);
  };
  return rendering;
}
#else
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

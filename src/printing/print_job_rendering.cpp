#include "printing/print_job_runner.h"

#include "printing/receipt.h"
#include "printing/receipt_image_step.h"

namespace vorna {

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

}  // namespace vorna

#include "printing/receipt.h"

#include <exception>

#include "app/text_encoding.h"
#include "log/log.h"
#include "printing/template_parser.h"

namespace vorna {
namespace {

// A receipt far beyond anything a roll of paper holds is refused rather than
// built: column widths and pictures are not bounded by the language, and a
// template of a few bytes must not be able to demand gigabytes.
constexpr size_t kOutputAllowance = size_t{32} << 20;
constexpr size_t kOutputPerTemplateUnit = 4;

std::optional<MonoBitmap> ReadBmpAtPath(const std::u16string& path) {
  return ReadBmpFile(Utf16ToUtf8(path));
}

RenderedReceipt Failed() { return {kPrintTemplateFailed, std::string()}; }

}  // namespace

RenderedReceipt RenderReceipt(const std::u16string& templateText,
                               const ReceiptRenderOptions& options) {
  if (templateText.empty()) return {};
  const ReceiptLog log = options.log ? options.log : ReceiptLog([](const std::u16string& text) {
    WriteSoftwareLog(text);
  });
  try {
    std::vector<ReceiptElement> elements;
    if (!ParseTemplate(templateText, elements, log)) return Failed();
    GroupRows(elements);
    if (options.paperWidth != 76 && options.prepareImage) {
      for (ReceiptElement& element : elements)
        if (SameWordIgnoringCase(element.tag, u"img")) options.prepareImage(element, log);
    }
    const size_t limit = kOutputAllowance + kOutputPerTemplateUnit * templateText.size();
    ReceiptRenderer renderer(options.paperWidth,
                             options.loadBitmap ? options.loadBitmap : BitmapLoader(ReadBmpAtPath),
                             log, limit);
    RenderedReceipt rendering;
    if (!renderer.Render(elements, rendering.bytes)) {
      log(u"  打印内容过大");
      return Failed();
    }
    if (rendering.bytes.empty()) return Failed();
    return rendering;
  } catch (const std::exception&) {  // memory exhausted and the like
    return Failed();
  }
}

RenderedReceipt RenderReceipt(const std::u16string& templateText, int paperWidth) {
  ReceiptRenderOptions options;
  options.paperWidth = paperWidth;
  return RenderReceipt(templateText, options);
}

}  // namespace vorna

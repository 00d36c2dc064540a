// Fuzz entry for template parsing, row grouping, image sizes, rendering and
// copy numbers. Input: one byte choosing the paper and copy number, then the
// template as UTF-8; after a NUL byte, the rest is the BMP every image reads.
// Every input must end in bytes or in result 3; anything else aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/text_encoding.h"
#include "printing/image_size_attribute.h"
#include "printing/receipt.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "receipt fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorna;
  if (size == 0) return 0;
  SetPrinterCodePage(kCodePageGbk);
  static constexpr int kPapers[] = {58, 76, 80, 57};
  const int paper = kPapers[data[0] & 3];
  const int copy = (data[0] >> 2) % 13;

  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t split = rest.find('\0');
  const std::string_view templateUtf8 = rest.substr(0, split);
  const std::string_view bmp = split == std::string_view::npos ? "" : rest.substr(split + 1);

  ReceiptRenderOptions options;
  options.paperWidth = paper;
  options.log = [](const std::u16string&) {};
  options.prepareImage = [](ReceiptElement& image, const ReceiptLog&) {
    if (!ParseImageSizeAttribute(image.attributes)) image.tag = u"invalidLabel";
  };
  options.loadBitmap = [bmp](const std::u16string&) { return DecodeBmp(bmp); };

  RenderedReceipt receipt = RenderReceipt(Utf8ToUtf16(std::string(templateUtf8)), options);
  if (receipt.result == kPrintOk) {
    if (templateUtf8.empty() != receipt.bytes.empty()) Fail("bytes missing or unexpected");
    if (!receipt.bytes.empty() && (receipt.bytes.rfind("\x1B\x40\x1C\x26", 0) != 0 ||
                                   receipt.bytes.substr(receipt.bytes.size() - 2) != "\x1B\x69"))
      Fail("bytes are not one framed job");
    SubstituteCopyNumber(receipt.bytes, copy);
  } else if (receipt.result != kPrintTemplateFailed || !receipt.bytes.empty()) {
    Fail("unexpected result");
  }
  return 0;
}

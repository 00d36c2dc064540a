#pragma once
// Receipt rendering for the print thread and for tools: template text in,
// ESC/POS bytes of one copy out (in the printer code page).
//
//   RenderedReceipt r = RenderReceipt(templateText, paperWidth);
//   if (r.result != kPrintOk) report r.result;       // 3: template error or no bytes
//   for copy in 1..copies: write(SubstituteCopyNumber(r.bytes, copy));
//
// An empty template gives kPrintOk and no bytes: there is nothing to print.
#include <functional>
#include <string>

#include "printing/copy_number.h"
#include "printing/print_job.h"
#include "printing/receipt_element.h"
#include "printing/receipt_renderer.h"

namespace vorna {

// Called for each "img" element, in order, before rendering on every paper but
// 76. It may rewrite the element: its content to what the bitmap loader reads
// (a local BMP path by default), or its tag to "invalidLabel" to drop it.
using ImagePreparer = std::function<void(ReceiptElement& image, const ReceiptLog& log)>;

struct ReceiptRenderOptions {
  int paperWidth = kDefaultPaperWidth;  // 58, 76 or 80; others print as 58
  ImagePreparer prepareImage;           // empty: contents already name BMP files
  BitmapLoader loadBitmap;              // empty: read the BMP file at the content's path
  ReceiptLog log;                       // empty: the software log
};

struct RenderedReceipt {
  int result = kPrintOk;  // kPrintOk or kPrintTemplateFailed
  std::string bytes;      // one copy, placeholders not yet filled in
};

RenderedReceipt RenderReceipt(const std::u16string& templateText,
                               const ReceiptRenderOptions& options);
RenderedReceipt RenderReceipt(const std::u16string& templateText, int paperWidth);

}  // namespace vorna

#pragma once
// Turns a parsed, row-grouped element list into the ESC/POS bytes of one copy.
// Paper 76 places table cells with tab stops and prints no images; every other
// paper width places cells with spaces and prints images as raster bands.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/bmp_reader.h"
#include "printing/element_style.h"
#include "printing/receipt_element.h"

namespace vorna {

// Maps an "img" element's content (after trimming) to its picture.
using BitmapLoader = std::function<std::optional<MonoBitmap>(const std::u16string& content)>;

class ReceiptRenderer {
 public:
  ReceiptRenderer(int paperWidth, BitmapLoader loadBitmap, ReceiptLog log, size_t outputLimit);

  // Renders every element into `output` (emptied first). False when the bytes
  // would pass the output limit; `output` is then empty.
  bool Render(const std::vector<ReceiptElement>& elements, std::string& output);

 private:
  struct Piece {
    int64_t count;  // UTF-16 units
    int64_t dots;
  };

  void RenderText(const ReceiptElement& element);
  void RenderDividing(const ReceiptElement& element);
  void RenderJoint(const ReceiptElement& element);
  void RenderImage(const ReceiptElement& element);
  void RenderFirstCell(const ReceiptElement& element);
  void RenderCell(const ReceiptElement& element);
  void RenderRowEnd(const ReceiptElement& element);

  void PrintFirstCellPiece(const std::u16string& text, int64_t dots, bool lastBeforeCells);
  void MoveToContinuationPiece(int64_t dots);
  std::vector<Piece> BreakFirstCell(const std::u16string& text) const;
  int64_t TextDots(const std::u16string& text) const;
  int64_t ColumnDots(int64_t percent) const { return lineDots_ * percent / 100; }

  void EmitStyle();
  void FillSpaces(int64_t dots);
  void TabTo(int64_t dots);
  void ApplyAttributesOf(const ReceiptElement& element);
  void ResetStyle() { style_ = ElementStyle(); }

  void Append(std::string_view bytes);
  void AppendRepeated(std::string_view unit, int64_t count);
  void AppendText(const std::u16string& text);

  const bool tabLayout_;
  const int64_t lineDots_;
  const BitmapLoader loadBitmap_;
  const ReceiptLog log_;
  const size_t outputLimit_;

  ElementStyle style_;
  std::string* out_ = nullptr;
  bool overflow_ = false;

  // Row state: the first cell's column and what of it is still to print.
  int64_t columnStart_ = 0;  // percent of the line
  int64_t firstColumnDots_ = 0;
  char firstAlignment_ = '0';
  std::u16string continuation_;
  std::vector<Piece> pieces_;
  uint8_t continuationChineseMode_ = 0;
  uint8_t continuationPrintMode_ = 0;
};

}  // namespace vorna

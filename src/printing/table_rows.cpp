// Table rows: "tdfirst", "td" and "tdend" cells. The first cell may be broken
// into several lines; about half of them print before the other cells and the
// rest after the row, so the other cells sit beside the first cell's middle.
#include <algorithm>

#include "printing/receipt_renderer.h"

namespace vorna {
namespace {

constexpr int64_t kNarrowDots = 12;
constexpr int64_t kWideDots = 24;
// Column starts add up cell widths, which have no upper bound; this keeps the
// dot arithmetic far from overflow while changing nothing a printer could show.
constexpr int64_t kMaxColumnStart = int64_t{1} << 40;

}  // namespace

std::vector<ReceiptRenderer::Piece> ReceiptRenderer::BreakFirstCell(
    const std::u16string& text) const {
  const int64_t factor = style_.DoubleWidth() ? 2 : 1;
  std::vector<Piece> pieces;
  int64_t dots = 0;
  int64_t count = 0;
  for (char16_t c : text) {
    const int64_t charDots = (c < 128 ? kNarrowDots : kWideDots) * factor;
    dots += charDots;
    if (dots > firstColumnDots_) {
      pieces.push_back({count, dots - charDots});
      dots = charDots;
      count = 0;
    }
    ++count;
  }
  if (count != 0) pieces.push_back({count, dots});
  return pieces;
}

void ReceiptRenderer::RenderFirstCell(const ReceiptElement& element) {
  continuation_.clear();
  pieces_.clear();
  continuationChineseMode_ = 0;
  continuationPrintMode_ = 0;
  columnStart_ = 0;
  if (element.content.empty()) return;

  Append("\x1B\x61\x30");  // the row as a whole is left aligned
  ApplyAttributesOf(element);
  firstAlignment_ = style_.alignment;
  continuationChineseMode_ = style_.ChineseModeByte();
  continuationPrintMode_ = style_.PrintModeByte();
  EmitStyle();

  firstColumnDots_ = ColumnDots(style_.widthPercent);
  const int64_t factor = style_.DoubleWidth() ? 2 : 1;
  if (firstColumnDots_ >= kNarrowDots * factor) {
    std::vector<Piece> pieces = BreakFirstCell(element.content);
    if (pieces.size() == 1) {
      PrintFirstCellPiece(element.content, pieces[0].dots, true);
    } else {
      const size_t printedNow = (pieces.size() + 1) / 2;
      size_t offset = 0;
      for (size_t j = 0; j < printedNow; ++j) {
        const size_t count = static_cast<size_t>(pieces[j].count);
        const bool last = j + 1 == printedNow;
        PrintFirstCellPiece(element.content.substr(offset, count), pieces[j].dots, last);
        if (!last) Append("\n");
        offset += count;
      }
      continuation_ = element.content.substr(offset);
      pieces_.assign(pieces.begin() + static_cast<std::ptrdiff_t>(printedNow), pieces.end());
    }
  }
  columnStart_ = std::min(style_.widthPercent, kMaxColumnStart);
  ResetStyle();
}

void ReceiptRenderer::PrintFirstCellPiece(const std::u16string& text, int64_t dots,
                                          bool lastBeforeCells) {
  const int64_t spare = firstColumnDots_ - dots;
  if (tabLayout_) {
    MoveToContinuationPiece(dots);
    AppendText(text);
    return;
  }
  int64_t lead = 0;
  int64_t trail = 0;
  switch (firstAlignment_) {
    case '1':
      lead = spare / 2;
      trail = spare - kNarrowDots * (lead / kNarrowDots);
      break;
    case '2':
      lead = spare;
      break;
    default:
      trail = spare;
      break;
  }
  FillSpaces(lead);
  AppendText(text);
  if (lastBeforeCells) FillSpaces(trail);
}

// Lead of a first-cell line by the first cell's alignment; continuation lines
// and tab-layout pieces get no trail.
void ReceiptRenderer::MoveToContinuationPiece(int64_t dots) {
  const int64_t spare = firstColumnDots_ - dots;
  int64_t lead = 0;
  if (firstAlignment_ == '1') lead = spare / 2;
  if (firstAlignment_ == '2') lead = spare;
  if (tabLayout_) {
    if (lead > 0) TabTo(lead);
  } else {
    FillSpaces(lead);
  }
}

void ReceiptRenderer::RenderCell(const ReceiptElement& element) {
  const std::u16string& text = element.content;
  if (text.empty()) return;  // the next cell takes this one's place
  ApplyAttributesOf(element);
  EmitStyle();
  const int64_t textDots = TextDots(text);
  const int64_t width = style_.widthPercent;
  const int64_t columnDots = ColumnDots(width);
  const int64_t startDots = ColumnDots(columnStart_);

  if (tabLayout_) {
    const int64_t spare = columnDots - textDots;
    int64_t position = startDots;
    if (spare > 0 && style_.alignment == '1') position = startDots + spare / 2;
    if (spare > 0 && style_.alignment == '2')
      position = ColumnDots(columnStart_ + width) - textDots;
    if (position > 0) TabTo(position);
    AppendText(text);
  } else {
    // Whole spaces cannot reach the column start exactly; the cell makes up
    // for what the earlier cells' spaces fell short of.
    const int64_t shortfall = startDots % kNarrowDots;
    const int64_t free = columnDots + shortfall - textDots;
    int64_t lead = 0;
    int64_t trail = 0;
    if (free > 0) {
      switch (style_.alignment) {
        case '1':
          lead = (columnDots - textDots) / 2 + shortfall;
          trail = free - kNarrowDots * (lead / kNarrowDots);
          break;
        case '2':
          lead = free;
          break;
        default:
          trail = free;
          break;
      }
    }
    FillSpaces(lead);
    AppendText(text);
    FillSpaces(trail);
  }
  columnStart_ = std::min(columnStart_ + width, kMaxColumnStart);
  ResetStyle();
}

void ReceiptRenderer::RenderRowEnd(const ReceiptElement& element) {
  RenderCell(element);
  if (!continuation_.empty()) {
    Append("\n");
    Append(std::string{'\x1C', '!', static_cast<char>(continuationChineseMode_)});
    Append(std::string{'\x1B', '!', static_cast<char>(continuationPrintMode_)});
    // The last cell has reset the style, so a fill here restores the default
    // print mode: centred or right-aligned continuation lines lose bold,
    // underline and double width after their first fill. Printed receipts
    // have always looked like that.
    size_t offset = 0;
    for (size_t j = 0; j < pieces_.size(); ++j) {
      const size_t count = static_cast<size_t>(pieces_[j].count);
      MoveToContinuationPiece(pieces_[j].dots);
      AppendText(continuation_.substr(offset, count));
      if (j + 1 < pieces_.size()) Append("\n");
      offset += count;
    }
  }
  Append("\n");
}

}  // namespace vorna

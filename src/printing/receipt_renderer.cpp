#include "printing/receipt_renderer.h"

#include <utility>

#include "app/text_encoding.h"

namespace vorna {
namespace {

constexpr int kNarrowDots = 12;
constexpr int kWideDots = 24;

constexpr std::string_view kInitialize = "\x1B\x40\x1C\x26";  // ESC @, FS &
constexpr std::string_view kJobEnd = "\n\n\n";
constexpr std::string_view kCut = "\x1B\x69";
constexpr std::string_view kImageLineSpacing = "\x1B\x33\x18";  // ESC 3 24
constexpr std::string_view kDefaultLineSpacing = "\x1B\x32";    // ESC 2

std::string Command(char a, char b, uint8_t n) {
  return std::string{a, b, static_cast<char>(n)};
}

// The first character, keeping a surrogate pair whole.
size_t FirstCharacterLength(const std::u16string& text) {
  if (text.size() >= 2 && text[0] >= 0xD800 && text[0] < 0xDC00 && text[1] >= 0xDC00 &&
      text[1] < 0xE000)
    return 2;
  return 1;
}

}  // namespace

ReceiptRenderer::ReceiptRenderer(int paperWidth, BitmapLoader loadBitmap, ReceiptLog log,
                                 size_t outputLimit)
    : tabLayout_(paperWidth == 76),
      lineDots_(paperWidth == 80 ? 576 : 384),
      loadBitmap_(std::move(loadBitmap)),
      log_(std::move(log)),
      outputLimit_(outputLimit) {}

bool ReceiptRenderer::Render(const std::vector<ReceiptElement>& elements, std::string& output) {
  output.clear();
  out_ = &output;
  overflow_ = false;
  style_ = ElementStyle();
  columnStart_ = 0;
  continuation_.clear();
  pieces_.clear();

  Append(kInitialize);
  for (const ReceiptElement& element : elements) {
    if (overflow_) break;
    const std::u16string& tag = element.tag;
    if (SameWordIgnoringCase(tag, u"text")) {
      RenderText(element);
    } else if (SameWordIgnoringCase(tag, u"br")) {
      Append("\n");
    } else if (SameWordIgnoringCase(tag, u"dividing")) {
      RenderDividing(element);
    } else if (SameWordIgnoringCase(tag, u"joint")) {
      RenderJoint(element);
    } else if (SameWordIgnoringCase(tag, u"img")) {
      if (!tabLayout_) RenderImage(element);
    } else if (SameWordIgnoringCase(tag, u"tdfirst")) {
      RenderFirstCell(element);
    } else if (SameWordIgnoringCase(tag, u"td")) {
      RenderCell(element);
    } else if (SameWordIgnoringCase(tag, u"tdend")) {
      RenderRowEnd(element);
    }
  }
  Append(kJobEnd);
  if (!output.empty()) Append(kCut);
  out_ = nullptr;
  if (overflow_) {
    output.clear();
    return false;
  }
  return true;
}

void ReceiptRenderer::RenderText(const ReceiptElement& element) {
  if (element.content.empty()) return;
  ApplyAttributesOf(element);
  Append(Command('\x1B', 'a', style_.alignment));
  EmitStyle();
  AppendText(element.content);
  Append("\n");
  ResetStyle();
}

void ReceiptRenderer::RenderDividing(const ReceiptElement& element) {
  ApplyAttributesOf(element);
  Append(Command('\x1B', 'a', style_.alignment));
  EmitStyle();
  std::string fill = "-";
  int64_t count = lineDots_ / kNarrowDots;
  if (count <= 0) count = 32;
  if (style_.DoubleWidth()) count /= 2;
  std::u16string trimmed = TrimSpaces(element.content);
  if (!trimmed.empty()) {
    std::string first = WideToPrinterText(trimmed.substr(0, FirstCharacterLength(trimmed)));
    if (!first.empty()) fill = first;
    // A wide fill character is kept whole (its first byte alone would print
    // garbage) and takes two narrow places.
    if (first.size() > 1) count /= 2;
  }
  AppendRepeated(fill, count);
  Append("\n");
  ResetStyle();
}

void ReceiptRenderer::RenderJoint(const ReceiptElement& element) {
  const std::u16string& content = element.content;
  if (content.size() < 2) {
    log_(u"  joint标签没有写明占位符");
    return;
  }
  ApplyAttributesOf(element);
  Append(Command('\x1B', 'a', style_.alignment));
  const bool doubleWidth = style_.DoubleWidth();
  EmitStyle();

  const size_t fillLength = FirstCharacterLength(content);
  const std::u16string text = content.substr(fillLength);
  int64_t narrow = 0;
  for (char16_t c : text) narrow += c < 128 ? 1 : 0;
  const int64_t textDots = (static_cast<int64_t>(text.size()) - narrow) * kWideDots + narrow * kNarrowDots;

  const std::string fill = WideToPrinterText(content.substr(0, fillLength));
  int64_t remaining = doubleWidth ? lineDots_ - 2 * textDots : lineDots_ - textDots;
  int64_t fillDots = doubleWidth ? kWideDots : kNarrowDots;
  if (fill.size() > 1) fillDots *= 2;  // wide fill character, kept whole
  // The fill count is made even and split between the two sides.
  const int64_t perSide = remaining / fillDots / 2;

  if (perSide > 0) AppendRepeated(fill, perSide);
  AppendText(text);
  if (perSide > 0) AppendRepeated(fill, perSide);
  Append("\n");
  ResetStyle();
}

void ReceiptRenderer::RenderImage(const ReceiptElement& element) {
  std::u16string source = TrimSpaces(element.content);
  if (source.empty()) return;
  ApplyAttributesOf(element);
  Append(Command('\x1B', 'a', style_.alignment));
  Append(kImageLineSpacing);
  std::optional<MonoBitmap> bitmap = loadBitmap_ ? loadBitmap_(source) : std::nullopt;
  if (!bitmap) {
    log_(u"  打开打印图片失败");
    // Undo the line spacing and the style so the rest of the receipt is not
    // printed tighter or in the picture's alignment.
    Append(kDefaultLineSpacing);
    ResetStyle();
    return;
  }
  const int width = bitmap->width;
  // One band more than full bands: a height that is a multiple of 24 ends in a
  // blank band, which printers of this kind have always been sent.
  const int bands = bitmap->height / 24 + 1;
  std::string band;
  for (int b = 0; b < bands && !overflow_; ++b) {
    band.assign({'\x1B', '\x2A', '\x21', static_cast<char>(width & 0xFF),
                 static_cast<char>((width >> 8) & 0xFF)});
    for (int x = 0; x < width; ++x) {
      uint8_t column[3] = {0, 0, 0};
      for (int j = 0; j < 24; ++j) {
        int y = b * 24 + j;
        if (y < bitmap->height && bitmap->IsBlack(x, y)) column[j / 8] |= 0x80 >> (j % 8);
      }
      band.append(reinterpret_cast<const char*>(column), 3);
    }
    band.push_back('\n');
    Append(band);
  }
  Append(kDefaultLineSpacing);
  Append("\n");
  ResetStyle();
}

int64_t ReceiptRenderer::TextDots(const std::u16string& text) const {
  int64_t dots = 0;
  for (char16_t c : text) dots += c < 128 ? kNarrowDots : kWideDots;
  return style_.DoubleWidth() ? dots * 2 : dots;
}

void ReceiptRenderer::EmitStyle() {
  Append(Command('\x1C', '!', style_.ChineseModeByte()));
  Append(Command('\x1B', '!', style_.PrintModeByte()));
}

void ReceiptRenderer::FillSpaces(int64_t dots) {
  if (dots < kNarrowDots) return;
  Append(Command('\x1B', '!', 0));
  AppendRepeated(" ", dots / kNarrowDots);
  Append(Command('\x1B', '!', style_.PrintModeByte()));
}

void ReceiptRenderer::TabTo(int64_t dots) {
  Append(Command('\x1B', '!', 0));
  Append(Command('\x1B', 'D', static_cast<uint8_t>(dots / kNarrowDots)));
  Append(std::string_view("\0\t", 2));
  Append(Command('\x1B', '!', style_.PrintModeByte()));
}

void ReceiptRenderer::ApplyAttributesOf(const ReceiptElement& element) {
  ApplyAttributes(element.attributes, style_);
}

void ReceiptRenderer::Append(std::string_view bytes) {
  if (overflow_ || bytes.size() > outputLimit_ - out_->size()) {
    overflow_ = true;
    return;
  }
  out_->append(bytes);
}

void ReceiptRenderer::AppendRepeated(std::string_view unit, int64_t count) {
  if (count <= 0 || unit.empty()) return;
  const size_t room = outputLimit_ - out_->size();
  if (overflow_ || static_cast<uint64_t>(count) > room / unit.size()) {
    overflow_ = true;
    return;
  }
  if (unit.size() == 1) {
    out_->append(static_cast<size_t>(count), unit[0]);
  } else {
    for (int64_t i = 0; i < count; ++i) out_->append(unit);
  }
}

void ReceiptRenderer::AppendText(const std::u16string& text) {
  if (!text.empty()) Append(WideToPrinterText(text));
}

}  // namespace vorna

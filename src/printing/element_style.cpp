#include "printing/element_style.h"

#include <limits>

#include "printing/receipt_element.h"

namespace vorna {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Leading decimal digits from `from` on; saturates instead of overflowing so a
// silly width cannot turn into undefined arithmetic later.
int64_t LeadingNumber(const std::u16string& word, size_t from) {
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (size_t i = from; i < word.size() && IsDigit(word[i]); ++i) {
    value = value * 10 + (word[i] - u'0');
    if (value > kMax) return kMax;
  }
  return value;
}

void ApplyWord(const std::u16string& word, ElementStyle& style) {
  if (SameWordIgnoringCase(word, u"left")) {
    style.alignment = '0';
  } else if (SameWordIgnoringCase(word, u"middle")) {
    style.alignment = '1';
  } else if (SameWordIgnoringCase(word, u"right")) {
    style.alignment = '2';
  } else if (SameWordIgnoringCase(word, u"bold")) {
    style.bold = 0x08;
  } else if (SameWordIgnoringCase(word, u"underline")) {
    style.underline = 0x80;
  } else if (SameWordIgnoringCase(word, u"dw")) {
    style.printSize = 0x20;
    style.chineseSize = 0x04;
  } else if (SameWordIgnoringCase(word, u"dh")) {
    style.printSize = 0x10;
    style.chineseSize = 0x08;
  } else if (SameWordIgnoringCase(word, u"dwh")) {
    style.printSize = 0x30;
    style.chineseSize = 0x0C;
  } else if (word.size() >= 2 && (word[0] == u'w' || word[0] == u'W') && IsDigit(word[1])) {
    style.widthPercent = LeadingNumber(word, 1);
  }
}

}  // namespace

void ApplyAttributes(const std::u16string& attributes, ElementStyle& style) {
  std::u16string text = TrimSpaces(attributes);
  size_t start = 0;
  while (start <= text.size()) {
    size_t space = text.find(u' ', start);
    if (space == std::u16string::npos) space = text.size();
    if (space > start) ApplyWord(text.substr(start, space - start), style);
    start = space + 1;
  }
}

}  // namespace vorna

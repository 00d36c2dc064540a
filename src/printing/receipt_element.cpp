#include "printing/receipt_element.h"

namespace vorna {

bool SameWordIgnoringCase(const std::u16string& a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

std::u16string TrimSpaces(const std::u16string& text) {
  size_t begin = text.find_first_not_of(u' ');
  if (begin == std::u16string::npos) return std::u16string();
  size_t end = text.find_last_not_of(u' ');
  return text.substr(begin, end - begin + 1);
}

}  // namespace vorna

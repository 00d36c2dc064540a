#include "printing/image_size_attribute.h"

#include <limits>

namespace vorna {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The leading digits from `at` on ("w35px" gives 35), saturated.
int64_t NumberAt(const std::u16string& text, size_t at) {
  int64_t value = 0;
  for (size_t i = at; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  }
  return value;
}

bool DigitAt(const std::u16string& text, size_t at) {
  return at < text.size() && IsDigit(text[at]);
}

}  // namespace

std::optional<ImageSizeAttribute> ParseImageSizeAttribute(const std::u16string& attributes) {
  ImageSizeAttribute size;
  size_t w = attributes.find(u'w');
  if (w == std::u16string::npos) w = attributes.find(u'W');
  if (w != std::u16string::npos && DigitAt(attributes, w + 1)) {
    int64_t percent = NumberAt(attributes, w + 1);
    size.byPercent = true;
    size.percent = percent < 1 || percent > 100 ? 100 : static_cast<int>(percent);
    return size;
  }
  size_t width = attributes.find(u"width");
  if (width == std::u16string::npos || !DigitAt(attributes, width + 5)) return std::nullopt;
  int64_t dots = NumberAt(attributes, width + 5);
  size.width = dots < 1 || dots > 384 ? 384 : static_cast<int>(dots);
  size.height = size.width;
  size_t height = attributes.find(u"height");
  if (height != std::u16string::npos && DigitAt(attributes, height + 6))
    size.height = static_cast<int>(NumberAt(attributes, height + 6));
  if (size.height == 0) return std::nullopt;
  return size;
}

}  // namespace vorna

#pragma once
// The print size an "img" element asks for in its attribute text: "w50" (50 %
// of 384 dots), "width200 height80" or "width200" (square).
#include <optional>
#include <string>

namespace vorna {

struct ImageSizeAttribute {
  bool byPercent = false;
  int percent = 0;  // 1..100
  int width = 0;    // dots, 1..384
  int height = 0;   // dots, not limited
};

// Nothing when the text gives no size (the element then prints nothing).
std::optional<ImageSizeAttribute> ParseImageSizeAttribute(const std::u16string& attributes);

}  // namespace vorna

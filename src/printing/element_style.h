#pragma once
// The print style of the element being rendered, set from its attribute words
// and back to the defaults after the element.
#include <cstdint>
#include <string>

namespace vorna {

struct ElementStyle {
  char alignment = '0';        // ESC a parameter: '0' left, '1' middle, '2' right
  uint8_t bold = 0;            // ESC ! bit
  uint8_t underline = 0;       // ESC ! and FS ! bit
  uint8_t printSize = 0;       // ESC ! size bits
  uint8_t chineseSize = 0;     // FS ! size bits
  int64_t widthPercent = 30;   // column share of the line; deliberately unbounded above

  bool DoubleWidth() const { return (printSize & 0x20) != 0; }
  uint8_t ChineseModeByte() const { return chineseSize | underline; }
  uint8_t PrintModeByte() const { return printSize | bold | underline; }
};

// Applies the words of `attributes` left to right over `style`; unknown words
// are ignored and a later word wins over an earlier one for the same field.
void ApplyAttributes(const std::u16string& attributes, ElementStyle& style);

}  // namespace vorna

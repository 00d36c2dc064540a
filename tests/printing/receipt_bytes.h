#pragma once
// Builders for expected printer bytes, so a test reads like the commands it
// expects rather than like a hex dump.
#include <cstdint>
#include <string>

#include "app/text_encoding.h"

namespace vorna::receipt_test {

inline const std::string kJobStart = "\x1B\x40\x1C\x26";
inline const std::string kJobEnd = "\n\n\n\x1B\x69";

inline std::string Bytes(std::initializer_list<uint8_t> bytes) {
  std::string out;
  for (uint8_t b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

inline std::string Align(char alignment) { return "\x1B\x61" + std::string(1, alignment); }

// FS ! chinese, ESC ! print: what every styled element starts with.
inline std::string Style(uint8_t chineseMode, uint8_t printMode) {
  return Bytes({0x1C, 0x21, chineseMode, 0x1B, 0x21, printMode});
}

// A space fill: single-width spaces, then the print mode it restores.
inline std::string Spaces(int count, uint8_t restore = 0) {
  return Bytes({0x1B, 0x21, 0x00}) + std::string(count, ' ') + Bytes({0x1B, 0x21, restore});
}

// A tab stop at `column` narrow characters and the tab to it.
inline std::string Tab(uint8_t column, uint8_t restore = 0) {
  return Bytes({0x1B, 0x21, 0x00, 0x1B, 0x44, column, 0x00, 0x09, 0x1B, 0x21, restore});
}

// Text in the printer code page (tests pin it to GBK).
inline std::string Gbk(const char* utf8) { return WideToPrinterText(Utf8ToUtf16(utf8)); }

// One template block.
inline std::string Block(const std::string& attributeSet, const std::string& content) {
  return "<!--table \"" + attributeSet + "\">" + content + "</table-->";
}

// Printable form of bytes for failure messages.
inline std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out.push_back(' ');
    out.push_back(kDigits[c >> 4]);
    out.push_back(kDigits[c & 15]);
  }
  return out;
}

}  // namespace vorna::receipt_test

#include "printing/copy_number.h"

#include <string_view>

#include "app/text_encoding.h"

namespace vorna {
namespace {

// Builds the result in one pass, so a receipt full of placeholders costs no
// more than copying it; inserted text is never searched again.
void ReplaceAll(std::string& bytes, std::string_view placeholder, const std::string& value) {
  size_t at = bytes.find(placeholder);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(bytes.size());
  size_t done = 0;
  for (; at != std::string::npos; at = bytes.find(placeholder, done)) {
    out.append(bytes, done, at - done);
    out += value;
    done = at + placeholder.size();
  }
  out.append(bytes, done, std::string::npos);
  bytes = std::move(out);
}

std::u16string ChineseNumeral(int copyNumber) {
  static constexpr char16_t kNumerals[] = u"一二三四五六七八九十";
  if (copyNumber < 1 || copyNumber > 10) return std::u16string();
  return std::u16string(1, kNumerals[copyNumber - 1]);
}

}  // namespace

std::string SubstituteCopyNumber(std::string bytes, int copyNumber) {
  std::u16string numeral = ChineseNumeral(copyNumber);
  // Past ten there is no numeral and the placeholder stays as written.
  if (!numeral.empty()) ReplaceAll(bytes, "_LIAN_NUM_", WideToPrinterText(numeral));
  ReplaceAll(bytes, "_lian_num_", std::to_string(copyNumber));
  return bytes;
}

}  // namespace vorna

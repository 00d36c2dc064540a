#pragma once
// One block of a receipt template and the hooks the rendering steps share.
#include <functional>
#include <string>

namespace vorna {

struct ReceiptElement {
  std::u16string tag;         // as written, or "text"; rewritten by row grouping
  std::u16string attributes;  // words after the tag (all words when there is no tag)
  std::u16string content;     // exactly what stood between '>' and the closing marker
};

// Receives each log text of a job, already in its final form ("  " + message).
using ReceiptLog = std::function<void(const std::u16string& text)>;

// ASCII case-insensitive comparison; tag names and style keywords are ASCII.
bool SameWordIgnoringCase(const std::u16string& a, std::u16string_view b);

// Text with leading and trailing U+0020 removed (tabs and line breaks stay).
std::u16string TrimSpaces(const std::u16string& text);

}  // namespace vorna

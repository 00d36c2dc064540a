#include "printing/template_parser.h"

#include <array>
#include <string_view>

namespace vorna {
namespace {

constexpr std::u16string_view kOpenMarker = u"<!--table";
constexpr std::u16string_view kCloseMarker = u"</table-->";

constexpr std::array<std::u16string_view, 7> kTemplateTags = {
    u"img", u"joint", u"dividing", u"td", u"br", u"tr", u"/tr"};

bool IsTemplateTag(const std::u16string& word) {
  for (auto tag : kTemplateTags)
    if (SameWordIgnoringCase(word, tag)) return true;
  return false;
}

// Double quotes are preferred, single quotes accepted; the pair may be mixed.
size_t FindQuote(const std::u16string& text, size_t from) {
  size_t quote = text.find(u'"', from);
  return quote != std::u16string::npos ? quote : text.find(u'\'', from);
}

void SplitTagAndAttributes(const std::u16string& set, ReceiptElement& element) {
  size_t space = set.find(u' ');
  std::u16string first = space == std::u16string::npos ? set : set.substr(0, space);
  if (IsTemplateTag(first)) {
    element.tag = first;
    if (space != std::u16string::npos) element.attributes = set.substr(space + 1);
  } else {
    element.tag = u"text";
    element.attributes = set;
  }
}

}  // namespace

bool ParseTemplate(const std::u16string& text, std::vector<ReceiptElement>& elements,
                   const ReceiptLog& log) {
  size_t open = text.find(kOpenMarker);
  while (open != std::u16string::npos) {
    // A '>' inside the quoted set ends the opening text early; that is the
    // language's rule, not an accident to repair.
    size_t close = text.find(u'>', open + kOpenMarker.size());
    if (close == std::u16string::npos) {
      log(u"  模板书写出错（解析闭合标签的前标签时出错）");
      return false;
    }
    std::u16string opening = text.substr(open, close - open);
    size_t firstQuote = FindQuote(opening, 0);
    size_t secondQuote =
        firstQuote == std::u16string::npos ? firstQuote : FindQuote(opening, firstQuote + 1);
    if (secondQuote == std::u16string::npos) {
      log(u"  模板书写出错（标签属性集没用引号包含）");
      return false;
    }
    ReceiptElement element;
    SplitTagAndAttributes(
        TrimSpaces(opening.substr(firstQuote + 1, secondQuote - firstQuote - 1)), element);

    size_t end = text.find(kCloseMarker, close + 1);
    if (end == std::u16string::npos) {
      log(u"  缺少</table-->");
      return false;
    }
    element.content = text.substr(close + 1, end - close - 1);
    elements.push_back(std::move(element));
    open = text.find(kOpenMarker, end + kCloseMarker.size());
  }
  return true;
}

void GroupRows(std::vector<ReceiptElement>& elements) {
  size_t run = 0;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (SameWordIgnoringCase(elements[i].tag, u"td")) {
      if (run > 0) {
        ++run;
      } else if (i + 1 < elements.size() && SameWordIgnoringCase(elements[i + 1].tag, u"td")) {
        elements[i].tag = u"tdfirst";
        run = 1;
      } else {
        elements[i].tag = u"text";
      }
    } else if (run >= 2) {
      elements[i - 1].tag = u"tdend";
      run = 0;
    }
  }
  if (run >= 2) elements.back().tag = u"tdend";
}

}  // namespace vorna

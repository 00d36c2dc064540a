// The template language: blocks, errors, row grouping, style words and image
// sizes.
#include <gtest/gtest.h>

#include <vector>

#include "app/text_encoding.h"
#include "printing/element_style.h"
#include "printing/image_size_attribute.h"
#include "printing/template_parser.h"

namespace vorna {
namespace {

struct ParsedElement {
  std::string tag, attributes, content;
  bool operator==(const ParsedElement&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ParsedElement& e) {
  return os << "{" << e.tag << " | " << e.attributes << " | " << e.content << "}";
}

std::vector<ParsedElement> Simplify(const std::vector<ReceiptElement>& elements) {
  std::vector<ParsedElement> out;
  for (const auto& e : elements)
    out.push_back({Utf16ToUtf8(e.tag), Utf16ToUtf8(e.attributes), Utf16ToUtf8(e.content)});
  return out;
}

struct ParseCase {
  const char* name;
  const char* templateText;
  std::vector<ParsedElement> expected;
};

TEST(ParseTemplate, SplitsBlocksIntoTagAttributesAndContent) {
  const ParseCase cases[] = {
      {"no blocks at all", "<html>just a page</html>", {}},
      {"style words without a tag", "<!--table \"bold middle\">AB</table-->",
       {{"text", "bold middle", "AB"}}},
      {"tag and words, outer spaces trimmed, inner kept",
       "<!--table \"  td  w50 right \">x</table-->", {{"td", " w50 right", "x"}}},
      {"single quotes", "<!--table 'td'>1</table-->", {{"td", "", "1"}}},
      {"mixed quotes", "<!--table \"td'>1</table-->", {{"td", "", "1"}}},
      {"tag case kept as written", "<!--table \"IMG w50\">u</table-->", {{"IMG", "w50", "u"}}},
      {"renderer-only names cannot be written", "<!--table \"tdfirst\">a</table-->",
       {{"text", "tdfirst", "a"}}},
      {"content kept exactly, with quotes, > and line breaks",
       "<!--table \"\"> a \"b\" > c\n</table-->", {{"text", "", " a \"b\" > c\n"}}},
      {"text between blocks ignored, every tag recognised",
       "x<!--table \"joint\">*a</table-->y<!--table \"dividing\"></table-->"
       "<!--table \"br\"></table--><!--table \"tr\"></table--><!--table \"/tr\"></table-->",
       {{"joint", "", "*a"}, {"dividing", "", ""}, {"br", "", ""}, {"tr", "", ""},
        {"/tr", "", ""}}},
  };
  for (const auto& c : cases) {
    std::vector<ReceiptElement> elements;
    std::vector<std::u16string> logs;
    EXPECT_TRUE(ParseTemplate(Utf8ToUtf16(c.templateText), elements,
                              [&](const std::u16string& t) { logs.push_back(t); }))
        << c.name;
    EXPECT_EQ(Simplify(elements), c.expected) << c.name;
    EXPECT_TRUE(logs.empty()) << c.name;
  }
}

TEST(ParseTemplate, StopsAtTheFirstErrorWithItsLogText) {
  const struct {
    const char* name;
    const char* templateText;
    const char* log;
  } cases[] = {
      {"no > after the marker", "<!--table \"td\"", "  模板书写出错（解析闭合标签的前标签时出错）"},
      {"no quotes", "<!--table td>1</table-->", "  模板书写出错（标签属性集没用引号包含）"},
      {"one quote", "<!--table \"td>1</table-->", "  模板书写出错（标签属性集没用引号包含）"},
      {"> inside the quoted set ends the opening early", "<!--table \"a>b\">x</table-->",
       "  模板书写出错（标签属性集没用引号包含）"},
      {"unclosed block", "<!--table \"td\">1", "  缺少</table-->"},
      {"error after a good block", "<!--table \"\">ok</table--><!--table \"td\">1",
       "  缺少</table-->"},
  };
  for (const auto& c : cases) {
    std::vector<ReceiptElement> elements;
    std::vector<std::string> logs;
    EXPECT_FALSE(ParseTemplate(Utf8ToUtf16(c.templateText), elements,
                               [&](const std::u16string& t) { logs.push_back(Utf16ToUtf8(t)); }))
        << c.name;
    EXPECT_EQ(logs, std::vector<std::string>{c.log}) << c.name;
  }
}

TEST(GroupRows, TurnsRunsOfCellsIntoRows) {
  const struct {
    std::vector<std::u16string> tags;
    std::vector<std::u16string> expected;
  } cases[] = {
      {{u"td", u"td", u"td", u"td", u"td"}, {u"tdfirst", u"td", u"td", u"td", u"tdend"}},
      {{u"td", u"td", u"tr", u"td", u"td"}, {u"tdfirst", u"tdend", u"tr", u"tdfirst", u"tdend"}},
      {{u"text", u"td", u"br"}, {u"text", u"text", u"br"}},
      {{u"td"}, {u"text"}},
      {{u"TD", u"Td", u"tD"}, {u"tdfirst", u"Td", u"tdend"}},
      {{u"td", u"td", u"img", u"td"}, {u"tdfirst", u"tdend", u"img", u"text"}},
  };
  for (const auto& c : cases) {
    std::vector<ReceiptElement> elements;
    for (const auto& tag : c.tags) elements.push_back({tag, u"", u""});
    GroupRows(elements);
    std::vector<std::u16string> tags;
    for (const auto& e : elements) tags.push_back(e.tag);
    EXPECT_EQ(tags, c.expected) << Utf16ToUtf8(c.tags[0]) << " x" << c.tags.size();
  }
}

TEST(ApplyAttributes, LaterWordsWinAndUnknownWordsAreIgnored) {
  const struct {
    const char* attributes;
    char alignment;
    uint8_t chineseMode, printMode;
    int64_t width;
  } cases[] = {
      {"", '0', 0x00, 0x00, 30},
      {"bold middle", '1', 0x00, 0x08, 30},
      {"dwh underline", '0', 0x8C, 0xB0, 30},
      {"dw bold dh", '0', 0x08, 0x18, 30},  // dh replaces dw, does not add
      {"MIDDLE  right Bold", '2', 0x00, 0x08, 30},
      {" w40 ", '0', 0x00, 0x00, 40},
      {"W35px w", '0', 0x00, 0x00, 35},
      {"width200 wide", '0', 0x00, 0x00, 30},
      {"w99999999999999", '0', 0x00, 0x00, 2147483647},
  };
  for (const auto& c : cases) {
    ElementStyle style;
    ApplyAttributes(Utf8ToUtf16(c.attributes), style);
    EXPECT_EQ(style.alignment, c.alignment) << c.attributes;
    EXPECT_EQ(style.ChineseModeByte(), c.chineseMode) << c.attributes;
    EXPECT_EQ(style.PrintModeByte(), c.printMode) << c.attributes;
    EXPECT_EQ(style.widthPercent, c.width) << c.attributes;
  }
}

TEST(ImageSizeAttribute, PercentOrDotsOrNothing) {
  const struct {
    const char* attributes;
    bool hasSize;
    bool byPercent;
    int percent, width, height;
  } cases[] = {
      {"middle w50", true, true, 50, 0, 0},
      {"w0", true, true, 100, 0, 0},
      {"W150", true, true, 100, 0, 0},
      {"dw w50", false, false, 0, 0, 0},  // the first w is the one in "dw"
      {"width200 height80", true, false, 0, 200, 80},
      {"width200", true, false, 0, 200, 200},
      {"width999 height0", false, false, 0, 0, 0},
      {"width0", true, false, 0, 384, 384},
      {"width=200", false, false, 0, 0, 0},
      {"", false, false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    auto size = ParseImageSizeAttribute(Utf8ToUtf16(c.attributes));
    ASSERT_EQ(size.has_value(), c.hasSize) << c.attributes;
    if (!size) continue;
    EXPECT_EQ(size->byPercent, c.byPercent) << c.attributes;
    EXPECT_EQ(size->percent, c.percent) << c.attributes;
    EXPECT_EQ(size->width, c.width) << c.attributes;
    EXPECT_EQ(size->height, c.height) << c.attributes;
  }
}

}  // namespace
}  // namespace vorna

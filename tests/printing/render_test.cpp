// Template to printer bytes: text elements, lines, table rows in both layouts,
// raster images and copy numbers.
#include <gtest/gtest.h>

#include <map>

#include "printing/receipt.h"
#include "receipt_bytes.h"

namespace vorna {
namespace {

using namespace receipt_test;

struct RenderCase {
  const char* name;
  int paper;
  std::string templateText;
  std::string expectedBody;
};

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetPrinterCodePage(kCodePageGbk); }

  // Body bytes between the job's start and end sequences.
  std::string Body(const std::string& templateUtf8, int paper = 58) {
    ReceiptRenderOptions options;
    options.paperWidth = paper;
    options.log = [this](const std::u16string& text) { logs.push_back(Utf16ToUtf8(text)); };
    options.loadBitmap = [this](const std::u16string& name) -> std::optional<MonoBitmap> {
      auto it = bitmaps.find(Utf16ToUtf8(name));
      if (it == bitmaps.end()) return std::nullopt;
      return it->second;
    };
    RenderedReceipt receipt = RenderReceipt(Utf8ToUtf16(templateUtf8), options);
    EXPECT_EQ(receipt.result, kPrintOk);
    const std::string& b = receipt.bytes;
    if (b.size() < kJobStart.size() + kJobEnd.size() || b.substr(0, kJobStart.size()) != kJobStart ||
        b.substr(b.size() - kJobEnd.size()) != kJobEnd) {
      ADD_FAILURE() << "not a framed job: " << Hex(b);
      return b;
    }
    return b.substr(kJobStart.size(), b.size() - kJobStart.size() - kJobEnd.size());
  }

  void ExpectBodies(const std::vector<RenderCase>& cases) {
    for (const auto& c : cases)
      EXPECT_EQ(Hex(Body(c.templateText, c.paper)), Hex(c.expectedBody)) << c.name;
  }

  std::vector<std::string> logs;
  std::map<std::string, MonoBitmap> bitmaps;
};

TEST_F(RenderTest, TextLinesAndBreaks) {
  ExpectBodies({
      {"no blocks: start and end only", 58, "nothing to print", ""},
      {"bold middle", 58, Block("bold middle", "AB"),
       Bytes({0x1B, 0x61, 0x31, 0x1C, 0x21, 0x00, 0x1B, 0x21, 0x08, 0x41, 0x42, 0x0A})},
      {"dwh underline", 58, Block("dwh underline", "A"), Align('0') + Style(0x8C, 0xB0) + "A\n"},
      {"Chinese text in GBK, line breaks sent as they are", 58, Block("", "合计\n1"),
       Align('0') + Style(0, 0) + Bytes({0xBA, 0xCF, 0xBC, 0xC6}) + "\n1\n"},
      {"empty text prints nothing, br prints a line feed", 58,
       Block("bold", "") + Block("br bold", "ignored"), "\n"},
      {"style does not leak into the next element", 80,
       Block("dwh right", "A") + Block("", "B"),
       Align('2') + Style(0x0C, 0x30) + "A\n" + Align('0') + Style(0, 0) + "B\n"},
      {"unknown and row-only tags print nothing", 58,
       Block("tr", "x") + Block("/tr", "y") + Block("td", "lone") + Block("tr", ""),
       Align('0') + Style(0, 0) + "lone\n"},
  });
}

TEST_F(RenderTest, DividingAndJointLines) {
  ExpectBodies({
      {"dividing on 80 mm", 80, Block("dividing", ""),
       Align('0') + Style(0, 0) + std::string(48, '-') + "\n"},
      {"dividing double width", 80, Block("dividing dw", ""),
       Align('0') + Style(0x04, 0x20) + std::string(24, '-') + "\n"},
      {"dividing with blank content uses -", 58, Block("dividing", "   "),
       Align('0') + Style(0, 0) + std::string(32, '-') + "\n"},
      {"dividing with its own character", 58, Block("dividing middle", " =x"),
       Align('1') + Style(0, 0) + std::string(32, '=') + "\n"},
      {"dividing with a wide character keeps it whole", 58, Block("dividing", "＝"),
       Align('0') + Style(0, 0) + [] {
         std::string s;
         for (int i = 0; i < 16; ++i) s += Gbk("＝");
         return s;
       }() + "\n"},
      {"joint: four wide characters on 384 dots", 58, Block("joint", "*合计金额"),
       Align('0') + Style(0, 0) + std::string(12, '*') + Gbk("合计金额") + std::string(12, '*') +
           "\n"},
      {"joint with a wide fill character keeps it whole", 58, Block("joint", "＝合计"),
       Align('0') + Style(0, 0) + [] {
         std::string s;
         for (int i = 0; i < 7; ++i) s += Gbk("＝");
         return s + Gbk("合计") + s;
       }() + "\n"},
      {"joint: odd fill count made even", 58, Block("joint", "-abc"),
       Align('0') + Style(0, 0) + std::string(14, '-') + "abc" + std::string(14, '-') + "\n"},
      {"joint double width", 58, Block("joint dw", "*AB"),
       Align('0') + Style(0x04, 0x20) + std::string(7, '*') + "AB" + std::string(7, '*') + "\n"},
      {"joint wider than the line gets no fill", 58,
       Block("joint", "*一二三四五六七八九十一二三四五六七"),
       Align('0') + Style(0, 0) + Gbk("一二三四五六七八九十一二三四五六七") + "\n"},
  });
  EXPECT_TRUE(logs.empty());
}

TEST_F(RenderTest, JointWithoutTextLogsAndPrintsNothing) {
  EXPECT_EQ(Body(Block("joint bold", "*")), "");
  EXPECT_EQ(logs, std::vector<std::string>{"  joint标签没有写明占位符"});
}

TEST_F(RenderTest, TableRowsInTheSpaceLayout) {
  const std::string fiveFours = "一二三四五六七八九十一二三四五六七八九十";
  ExpectBodies({
      {"A / 1 / 2.00 at 30 %", 58, Block("td", "A") + Block("td", "1") + Block("td", "2.00"),
       Align('0') + Style(0, 0) + "A" + Spaces(8) + Style(0, 0) + "1" + Spaces(9) + Style(0, 0) +
           "2.00" + Spaces(5) + "\n"},
      {"20 wide characters: 3 pieces before the cells, 2 after", 58,
       Block("td", fiveFours) + Block("td", "1") + Block("td", "2"),
       Align('0') + Style(0, 0) + Gbk("一二三四") + "\n" + Gbk("五六七八") + "\n" +
           Gbk("九十一二") + Spaces(1) + Style(0, 0) + "1" + Spaces(9) + Style(0, 0) + "2" +
           Spaces(8) + "\n" + Style(0, 0) + Gbk("三四五六") + "\n" + Gbk("七八九十") + "\n"},
      {"centred bold first cell: continuation loses bold after its fill", 58,
       Block("td bold middle", "一二三四五六七八九") + Block("td", "1"),
       Align('0') + Style(0, 0x08) + Gbk("一二三四") + "\n" + Gbk("五六七八") + Spaces(1, 0x08) +
           Style(0, 0) + "1" + Spaces(9) + "\n" + Style(0, 0x08) + Spaces(3, 0x00) + Gbk("九") +
           "\n"},
      {"right-aligned and centred cells", 80,
       Block("td w50 right", "AB") + Block("td w20 middle", "xy") + Block("td right", "9"),
       Align('0') + Style(0, 0) + Spaces(22) + "AB" + Style(0, 0) + Spaces(3) + "xy" + Spaces(4) +
           Style(0, 0) + Spaces(13) + "9" + "\n"},
      {"w2 column prints no first cell but still moves the start", 58,
       Block("td w2", "AB") + Block("td", "C") + Block("td", "D"),
       Align('0') + Style(0, 0) + Style(0, 0) + "C" + Spaces(9) + Style(0, 0) + "D" + Spaces(8) +
           "\n"},
      {"middle cell wider than its column gets no fill", 58,
       Block("td", "A") + Block("td w10", "abcdefgh") + Block("td", "B"),
       Align('0') + Style(0, 0) + "A" + Spaces(8) + Style(0, 0) + "abcdefgh" + Style(0, 0) + "B" +
           Spaces(9) + "\n"},
      {"empty first cell: no first cell, no continuation", 58,
       Block("td", "") + Block("td", "1") + Block("td", "2"),
       Style(0, 0) + "1" + Spaces(8) + Style(0, 0) + "2" + Spaces(9) + "\n"},
      {"two rows need a separator, else their cells merge", 58,
       Block("td", "A") + Block("td", "B") + Block("tr", "") + Block("td", "C") + Block("td", "D"),
       Align('0') + Style(0, 0) + "A" + Spaces(8) + Style(0, 0) + "B" + Spaces(9) + "\n" +
           Align('0') + Style(0, 0) + "C" + Spaces(8) + Style(0, 0) + "D" + Spaces(9) + "\n"},
  });
}

TEST_F(RenderTest, TableRowsInTheTabLayoutOfPaper76) {
  ExpectBodies({
      {"empty middle cell: the next cell takes its place", 76,
       Block("td", "A") + Block("td", "") + Block("td", "B"),
       Align('0') + Style(0, 0) + "A" + Style(0, 0) + Tab(9) + "B" + "\n"},
      {"left, centred and right cells", 76,
       Block("td", "A") + Block("td w20 middle", "1") + Block("td bold right", "2.00"),
       Align('0') + Style(0, 0) + "A" + Style(0, 0) + Tab(12) + "1" + Style(0, 0x08) +
           Tab(21, 0x08) + "2.00" + "\n"},
      {"first cell right aligned by a tab, continuation likewise", 76,
       Block("td w10 right", "ABCD") + Block("td", "x"),
       Align('0') + Style(0, 0) + Tab(0) + "ABC" + Style(0, 0) + Tab(3) + "x" + "\n" + Style(0, 0) +
           Tab(2) + "D" + "\n"},
  });
}

MonoBitmap LeftColumnBlack(int width, int height) {
  MonoBitmap bitmap{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0)};
  for (int y = 0; y < height; ++y) bitmap.black[static_cast<size_t>(y) * width] = 1;
  return bitmap;
}

TEST_F(RenderTest, ImagesPrintAsBandsOf24Rows) {
  bitmaps["h10"] = LeftColumnBlack(2, 10);
  bitmaps["h24"] = LeftColumnBlack(2, 24);
  bitmaps["h25"] = LeftColumnBlack(2, 25);
  bitmaps["wide"] = LeftColumnBlack(300, 1);
  const std::string start = Bytes({0x1B, 0x33, 0x18});
  const std::string end = Bytes({0x1B, 0x32, 0x0A});
  const std::string band = Bytes({0x1B, 0x2A, 0x21, 0x02, 0x00});
  const std::string blankBand = band + std::string(6, '\0') + "\n";
  ExpectBodies({
      {"height 10: one band", 58, Block("img middle w50", " h10 "),
       Align('1') + start + band + Bytes({0xFF, 0xC0, 0, 0, 0, 0}) + "\n" + end},
      {"height 24: a full band and a blank one", 58, Block("img", "h24"),
       Align('0') + start + band + Bytes({0xFF, 0xFF, 0xFF, 0, 0, 0}) + "\n" + blankBand + end},
      {"height 25: two bands", 80, Block("img", "h25"),
       Align('0') + start + band + Bytes({0xFF, 0xFF, 0xFF, 0, 0, 0}) + "\n" + band +
           Bytes({0x80, 0, 0, 0, 0, 0}) + "\n" + end},
      {"width over 255 in two bytes", 58, Block("img", "wide"),
       Align('0') + start + Bytes({0x1B, 0x2A, 0x21, 0x2C, 0x01}) + Bytes({0x80, 0, 0}) +
           std::string(299 * 3, '\0') + "\n" + end},
      {"paper 76 prints no images", 76, Block("img", "h10"), ""},
      {"blank image content prints nothing", 58, Block("img", "  "), ""},
  });
  EXPECT_TRUE(logs.empty());
}

TEST_F(RenderTest, UnreadableImageIsLoggedAndLeavesNoStyleBehind) {
  EXPECT_EQ(Hex(Body(Block("img right", "missing.bmp") + Block("", "A"))),
            Hex(Align('2') + Bytes({0x1B, 0x33, 0x18, 0x1B, 0x32}) + Align('0') + Style(0, 0) +
                "A\n"));
  EXPECT_EQ(logs, std::vector<std::string>{"  打开打印图片失败"});
}

TEST_F(RenderTest, TemplateErrorsGiveResult3AndNoBytes) {
  for (const char* text : {"<!--table td>1</table-->", "<!--table \"td\">1", "<!--table \"td\""}) {
    RenderedReceipt receipt = RenderReceipt(Utf8ToUtf16(text), {58, {}, {}, [](auto&) {}});
    EXPECT_EQ(receipt.result, kPrintTemplateFailed) << text;
    EXPECT_TRUE(receipt.bytes.empty()) << text;
  }
  RenderedReceipt empty = RenderReceipt(u"", 58);
  EXPECT_EQ(empty.result, kPrintOk);
  EXPECT_TRUE(empty.bytes.empty());
}

TEST_F(RenderTest, AbsurdColumnWidthIsRefusedNotBuilt) {
  // A few bytes of template must not be able to demand gigabytes of spaces.
  std::string row = Block("td w2000000000", "A") + Block("td", "B");
  std::vector<std::string> seen;
  RenderedReceipt receipt = RenderReceipt(
      Utf8ToUtf16(row),
      {58, {}, {}, [&](const std::u16string& t) { seen.push_back(Utf16ToUtf8(t)); }});
  EXPECT_EQ(receipt.result, kPrintTemplateFailed);
  EXPECT_EQ(seen, std::vector<std::string>{"  打印内容过大"});
  // Wide but printable rows still render.
  EXPECT_EQ(RenderReceipt(Utf8ToUtf16(Block("td w300", "A") + Block("td", "B")), 58).result,
            kPrintOk);
}

TEST(SubstituteCopyNumber, ChineseNumeralUpToTenAndDigitsAlways) {
  SetPrinterCodePage(kCodePageGbk);
  const struct {
    int copy;
    std::string in, expected;
  } cases[] = {
      {1, "_LIAN_NUM_", Gbk("一")},
      {3, Gbk("第_LIAN_NUM_联 _lian_num_/_lian_num_"), Gbk("第三联 3/3")},
      {10, "_LIAN_NUM__LIAN_NUM_", Gbk("十十")},
      {12, "_LIAN_NUM_ _lian_num_", "_LIAN_NUM_ 12"},
      {2, "_lian_num_LIAN_NUM_", "_lian_num" + Gbk("二")},  // numerals go first
      {5, "_lian_NUM_ _LIAN_num_", "_lian_NUM_ _LIAN_num_"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Hex(SubstituteCopyNumber(c.in, c.copy)), Hex(c.expected)) << c.copy << " " << c.in;
}

}  // namespace
}  // namespace vorna

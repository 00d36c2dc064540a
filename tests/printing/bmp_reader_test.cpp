// BMP pictures for raster printing: which dots are black, from every pixel
// layout image tools write, and refusal of damaged or hostile files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "printing/bmp_reader.h"
#include "printing/receipt.h"
#include "receipt_bytes.h"

namespace vorna {
namespace {

void Put16(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  Put16(s, at, v & 0xFFFF);
  Put16(s, at + 2, v >> 16);
}

struct BmpShape {
  int width, height, bitsPerPixel;
  std::vector<uint32_t> palette;  // 0xRRGGBB
  bool topDown = false;
};

// A BMP with a 40-byte header; `value(x, y)` is a palette index or 0xRRGGBB.
std::string MakeBmp(const BmpShape& shape, const std::function<uint32_t(int, int)>& value) {
  const size_t stride = ((static_cast<size_t>(shape.width) * shape.bitsPerPixel + 31) / 32) * 4;
  const size_t pixelOffset = 54 + shape.palette.size() * 4;
  std::string s(pixelOffset + stride * shape.height, '\0');
  s[0] = 'B';
  s[1] = 'M';
  Put32(s, 2, static_cast<uint32_t>(s.size()));
  Put32(s, 10, static_cast<uint32_t>(pixelOffset));
  Put32(s, 14, 40);
  Put32(s, 18, static_cast<uint32_t>(shape.width));
  Put32(s, 22, static_cast<uint32_t>(shape.topDown ? -shape.height : shape.height));
  Put16(s, 26, 1);
  Put16(s, 28, static_cast<uint32_t>(shape.bitsPerPixel));
  Put32(s, 46, static_cast<uint32_t>(shape.palette.size()));
  for (size_t i = 0; i < shape.palette.size(); ++i) Put32(s, 54 + i * 4, shape.palette[i]);
  for (int y = 0; y < shape.height; ++y) {
    size_t row = pixelOffset + stride * (shape.topDown ? y : shape.height - 1 - y);
    for (int x = 0; x < shape.width; ++x) {
      uint32_t v = value(x, y);
      switch (shape.bitsPerPixel) {
        case 1: case 4: case 8: {
          size_t bit = static_cast<size_t>(x) * shape.bitsPerPixel;
          s[row + bit / 8] = static_cast<char>(static_cast<uint8_t>(s[row + bit / 8]) |
                                               (v << (8 - shape.bitsPerPixel - bit % 8)));
          break;
        }
        case 16: Put16(s, row + x * 2, v); break;
        case 24:
          Put16(s, row + x * 3, v & 0xFFFF);
          s[row + x * 3 + 2] = static_cast<char>(v >> 16);
          break;
        case 32: Put32(s, row + x * 4, v); break;
      }
    }
  }
  return s;
}

// 3 x 2 with black at (0, 0) and (2, 1).
bool PatternBlack(int x, int y) { return (x == 0 && y == 0) || (x == 2 && y == 1); }
const std::vector<uint8_t> kPattern = {1, 0, 0, 0, 0, 1};

TEST(DecodeBmp, RedComponentZeroIsBlackInEveryLayout) {
  const struct {
    const char* name;
    BmpShape shape;
    uint32_t black, white;
  } cases[] = {
      {"1 bit, black first", {3, 2, 1, {0x000000, 0xFFFFFF}}, 0, 1},
      {"1 bit, white first", {3, 2, 1, {0xFFFFFF, 0x000000}}, 1, 0},
      {"4 bit, index past the palette", {3, 2, 4, {0xFFFFFF, 0xFFFFFF}}, 9, 1},
      {"8 bit, pure green has no red", {3, 2, 8, {0xFFFFFF, 0x00FF00}}, 1, 0},
      {"16 bit 5-5-5", {3, 2, 16, {}}, 0x03FF, 0x7C00},
      {"24 bit bottom-up", {3, 2, 24, {}}, 0x0000FF, 0xFF0000},
      {"32 bit top-down", {3, 2, 32, {}, true}, 0xFF00FFFF, 0x00FF0000},
  };
  for (const auto& c : cases) {
    auto bitmap = DecodeBmp(MakeBmp(c.shape, [&](int x, int y) {
      return PatternBlack(x, y) ? c.black : c.white;
    }));
    ASSERT_TRUE(bitmap) << c.name;
    EXPECT_EQ(bitmap->width, 3) << c.name;
    EXPECT_EQ(bitmap->height, 2) << c.name;
    EXPECT_EQ(bitmap->black, kPattern) << c.name;
  }
}

TEST(DecodeBmp, RefusesDamagedAndOversizedFiles) {
  const std::string good = MakeBmp({3, 2, 24, {}}, [](int, int) { return 0u; });
  ASSERT_TRUE(DecodeBmp(good));
  std::string truncated = good.substr(0, good.size() - 1);
  std::string notBmp = good;
  notBmp[0] = 'X';
  std::string compressed = good;
  Put32(compressed, 30, 1);  // run-length encoded
  std::string zeroWidth = good;
  Put32(zeroWidth, 18, 0);
  std::string hugeClaim = good;  // a few bytes claiming a 60000 x 60000 picture
  Put32(hugeClaim, 18, 60000);
  Put32(hugeClaim, 22, 60000);
  std::string pixelsPastEnd = good;
  Put32(pixelsPastEnd, 10, 0xFFFFFFF0);
  std::string headerPastEnd = good;
  Put32(headerPastEnd, 14, 0x7FFFFFFF);
  for (const std::string* bad :
       {&truncated, &notBmp, &compressed, &zeroWidth, &hugeClaim, &pixelsPastEnd, &headerPastEnd})
    EXPECT_FALSE(DecodeBmp(*bad)) << receipt_test::Hex(bad->substr(0, 30));
  EXPECT_FALSE(DecodeBmp(""));
}

class BmpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorna-bmp-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    SetPrinterCodePage(kCodePageGbk);
  }
  void TearDown() override {
    for (const auto& file : files) unlink(file.c_str());
    rmdir(folder.c_str());
  }
  std::string Write(const std::string& name, const std::string& data) {
    std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << data;
    files.push_back(path);
    return path;
  }
  std::string folder;
  std::vector<std::string> files;
};

TEST_F(BmpFileTest, ImageElementPrintsTheBmpItsContentNames) {
  std::string path = Write("logo 图.bmp", MakeBmp({3, 2, 1, {0x000000, 0xFFFFFF}}, [](int x, int y) {
    return PatternBlack(x, y) ? 0u : 1u;
  }));
  std::vector<std::u16string> logs;
  RenderedReceipt receipt = RenderReceipt(
      Utf8ToUtf16(receipt_test::Block("img", path)),
      {58, {}, {}, [&](const std::u16string& t) { logs.push_back(t); }});
  ASSERT_EQ(receipt.result, kPrintOk);
  using receipt_test::Bytes;
  EXPECT_EQ(receipt_test::Hex(receipt.bytes),
            receipt_test::Hex(receipt_test::kJobStart + receipt_test::Align('0') +
                              Bytes({0x1B, 0x33, 0x18, 0x1B, 0x2A, 0x21, 0x03, 0x00, 0x80, 0, 0,
                                     0, 0, 0, 0x40, 0, 0, 0x0A, 0x1B, 0x32, 0x0A}) +
                              receipt_test::kJobEnd));
  EXPECT_TRUE(logs.empty());
}

TEST_F(BmpFileTest, OnlyRegularFilesAreRead) {
  std::string fifo = folder + "/pipe.bmp";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  files.push_back(fifo);
  EXPECT_FALSE(ReadBmpFile(fifo));  // must not wait for a writer
  EXPECT_FALSE(ReadBmpFile(folder));
  EXPECT_FALSE(ReadBmpFile("/dev/zero"));
  EXPECT_FALSE(ReadBmpFile(folder + "/missing.bmp"));
}

}  // namespace
}  // namespace vorna

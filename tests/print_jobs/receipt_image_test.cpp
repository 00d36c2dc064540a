#include "printing/receipt_image.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <thread>

#include "print_test_support.h"
#include "test_server.h"

namespace vorna {
namespace {

using test::FileExists;
using test::WriteFileBytes;

struct PixbufDeleter {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using Pixbuf = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

// A PNG of one RGBA colour.
std::string Png(int width, int height, uint32_t rgba) {
  Pixbuf image(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height));
  gdk_pixbuf_fill(image.get(), rgba);
  gchar* buffer = nullptr;
  gsize size = 0;
  EXPECT_TRUE(gdk_pixbuf_save_to_buffer(image.get(), &buffer, &size, "png", nullptr, nullptr));
  std::string bytes(buffer, size);
  g_free(buffer);
  return bytes;
}

TEST(ReceiptImageNames, LocalFileNameIsTheLastUrlSegment) {
  struct Case {
    std::string url;
    std::string name;
  } cases[] = {
      {"http://shop.example/img/logo.png", "logo.png"},
      {"logo.png", "logo.png"},
      {"http://a.example/x/a.png?v=2", "a.png?v=2"},
      {"http://a.example/img/", ""},
      {"http://a.example/img/.", ""},
      {"http://a.example/img/..", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ImageFileNameForUrl(c.url), c.name) << c.url;
}

TEST(ReceiptImageNames, ConvertedFileCarriesTheSize) {
  struct Case {
    std::string downloaded;
    int width, height;
    std::string converted;
  } cases[] = {
      {"/p/logo.png", 200, 80, "/p/logo20080.bmp"},
      {"/p/a.b.jpg", 192, 96, "/p/a.b19296.bmp"},
      {"/p/logo", 1, 1, ""},
      {"/p.d/logo", 1, 1, ""},  // a dot in a folder name does not count
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertedImagePath(c.downloaded, c.width, c.height), c.converted) << c.downloaded;
}

// Hand-worked: a 3x3 image of gray 100 (R 200, G 50, B 100 gives 100.55).
// Row 0 keeps no error to its right; row 1 gets 3/8 of the row above and
// its left neighbour; row 2 reads the row above and, at x + 2, row 0.
TEST(Dithering, KernelGivesTheWorkedPattern) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 9; ++i) pixels.insert(pixels.end(), {200, 50, 100, 77});
  DitherToBlackWhite(pixels.data(), 3, 3, 3 * 4, 4);
  const char* expected[] = {"BBB", "WBW", "BWB"};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = &pixels[(y * 3 + x) * 4];
      const uint8_t level = expected[y][x] == 'B' ? 0 : 255;
      EXPECT_EQ(p[0], level) << x << "," << y;
      EXPECT_EQ(p[1], level);
      EXPECT_EQ(p[2], level);
      EXPECT_EQ(p[3], 77);  // alpha untouched
    }
}

TEST(Dithering, AlphaIsIgnoredAndPaddingIsLeftAlone) {
  // RGB rows with 2 bytes of padding each; transparent black stays black.
  std::vector<uint8_t> rgba = {0, 0, 0, 0, 255, 255, 255, 0};
  DitherToBlackWhite(rgba.data(), 2, 1, 8, 4);
  EXPECT_EQ(rgba, (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
  std::vector<uint8_t> rgb = {10, 10, 10, 250, 250, 250, 0xAB, 0xCD, 10, 10, 10, 250, 250, 250};
  DitherToBlackWhite(rgb.data(), 2, 2, 8, 3);
  EXPECT_EQ(rgb[6], 0xAB);
  EXPECT_EQ(rgb[7], 0xCD);
  EXPECT_EQ(rgb[0], 0);
  EXPECT_EQ(rgb[3], 255);
}

class ReceiptImageTest : public test::ProgramDirTest {
 protected:
  void SetUp() override {
    ProgramDirTest::SetUp();
    server_.Http().Get(R"(/img/(.*))", [this](const httplib::Request& request,
                                               httplib::Response& response) {
      ++requests_;
      const std::string name = request.matches[1];
      if (name == "slow.png") {
        // Sends half a picture, then nothing for a long while.
        response.set_chunked_content_provider(
            "image/png", [this](size_t offset, httplib::DataSink& sink) {
              if (offset == 0) {
                std::string png = Png(600, 300, 0x808080FF);
                sink.write(png.data(), png.size() / 2);
              } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
              }
              return !stopping_;
            });
      } else if (name == "page.png")
        response.set_content("<html>not found</html>", "text/html");
      else if (name == "broken.png")
        response.set_content("not an image at all", "image/png");
      else if (name == "strip.png")
        response.set_content(Png(1000, 1, 0x000000FF), "image/png");
      else if (name == "clear.png")
        response.set_content(Png(2, 2, 0x00000000), "image/png");
      else
        response.set_content(Png(600, 300, 0x808080FF), "image/png");
    });
    server_.Start();
  }
  std::u16string Url(const std::string& path) { return Utf8ToUtf16(server_.Origin() + path); }
  Pixbuf Load(const std::string& path) {
    return Pixbuf(gdk_pixbuf_new_from_file(path.c_str(), nullptr));
  }

  // Only complete pictures stay in the program directory.
  bool NoPartialDownloads() const {
    DIR* directory = opendir(dir_.Path().c_str());
    bool none = true;
    while (dirent* entry = readdir(directory))
      if (std::string(entry->d_name).rfind(".image-download", 0) == 0) none = false;
    closedir(directory);
    return none;
  }
  void TearDown() override {
    stopping_ = true;
    server_.Stop();
    ProgramDirTest::TearDown();
  }

  std::atomic<bool> stopping_{false};
  test::TestServer server_;
  std::atomic<int> requests_{0};
};

TEST_F(ReceiptImageTest, PercentAndWidthFormsGiveTheirSizesAndFilesAreReused) {
  struct Case {
    ReceiptImageSize size;
    const char* file;
    int width, height;
  } cases[] = {
      {{true, 50, 0, 0}, "wide19296.bmp", 192, 96},
      {{true, 100, 0, 0}, "wide384192.bmp", 384, 192},
      {{false, 0, 200, 80}, "wide20080.bmp", 200, 80},
  };
  for (const Case& c : cases) {
    PreparedReceiptImage prepared = PrepareReceiptImage(Url("/img/wide.png"), c.size);
    EXPECT_TRUE(prepared.downloaded);
    ASSERT_EQ(prepared.bmpPath, dir_ / c.file);
    Pixbuf bmp = Load(prepared.bmpPath);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(gdk_pixbuf_get_width(bmp.get()), c.width);
    EXPECT_EQ(gdk_pixbuf_get_height(bmp.get()), c.height);
  }
  EXPECT_EQ(requests_, 1);  // later jobs use the downloaded file
  EXPECT_TRUE(FileExists(dir_ / "wide.png"));

  // A converted file already there is used as it is.
  WriteFileBytes(dir_ / "wide10050.bmp", "kept");
  EXPECT_EQ(PrepareReceiptImage(Url("/img/wide.png"), {false, 0, 100, 50}).bmpPath,
            dir_ / "wide10050.bmp");
  EXPECT_EQ(test::ReadFileBytes(dir_ / "wide10050.bmp"), "kept");

  // Another server's file of the same name is never fetched.
  EXPECT_TRUE(PrepareReceiptImage(u"http://127.0.0.1:1/elsewhere/wide.png", {true, 50, 0, 0})
                  .downloaded);
  EXPECT_EQ(requests_, 1);
}

TEST_F(ReceiptImageTest, FailedDownloadsLeaveNoFile) {
  struct Case {
    const char* name;
    std::u16string url;
    std::string file;
    std::string logged;
  } cases[] = {
      {"html answer", Url("/img/page.png"), "page.png", ""},
      {"refused connection", u"http://127.0.0.1:1/img/none.png", "none.png", "Couldn't connect"},
      {"empty last segment", Url("/img/"), "", ""},
      {"dot-dot segment", Url("/img/.."), "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PreparedReceiptImage prepared = PrepareReceiptImage(c.url, {true, 50, 0, 0});
    EXPECT_FALSE(prepared.downloaded);
    EXPECT_TRUE(prepared.bmpPath.empty());
    if (!c.file.empty()) {
      EXPECT_FALSE(FileExists(dir_ / c.file));
    }
    EXPECT_TRUE(NoPartialDownloads());
    if (!c.logged.empty()) {
      EXPECT_NE(SoftwareLog().find(c.logged), std::string::npos);
    }
  }
  EXPECT_NE(SoftwareLog().find("  打印图片下载失败"), std::string::npos);

  // A folder in the way: the picture cannot take its name.
  mkdir((dir_ / "wide.png").c_str(), 0755);
  EXPECT_FALSE(PrepareReceiptImage(Url("/img/wide.png"), {true, 50, 0, 0}).downloaded);
  EXPECT_NE(SoftwareLog().find(dir_ / "wide.png  errorCode:" + std::to_string(EISDIR)),
            std::string::npos);
  EXPECT_TRUE(NoPartialDownloads());
}

TEST_F(ReceiptImageTest, AStalledTransferEndsAtTheTimeLimit) {
  const ImageDownloadLimits saved = CurrentImageDownloadLimits();
  SetImageDownloadLimits({saved.connectMilliseconds, 300});
  EXPECT_FALSE(PrepareReceiptImage(Url("/img/slow.png"), {true, 50, 0, 0}).downloaded);
  SetImageDownloadLimits(saved);
  EXPECT_FALSE(FileExists(dir_ / "slow.png"));
  EXPECT_TRUE(NoPartialDownloads());
  EXPECT_NE(SoftwareLog().find("Timeout"), std::string::npos);
}

TEST_F(ReceiptImageTest, ImagesThatCannotBeConvertedAreDownloadedButNotPrinted) {
  struct Case {
    const char* file;
    ReceiptImageSize size;
    const char* logged;
  } cases[] = {
      {"broken.png", {true, 50, 0, 0}, "打开下载源图片失败"},
      {"broken.png", {false, 0, 20, 20}, "打开下载源图片失败"},
      {"strip.png", {true, 10, 0, 0}, "缩放图片失败"},  // 38 x 0 dots
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    PreparedReceiptImage prepared = PrepareReceiptImage(Url(std::string("/img/") + c.file), c.size);
    EXPECT_TRUE(prepared.downloaded);
    EXPECT_TRUE(prepared.bmpPath.empty());
    EXPECT_NE(SoftwareLog().find(c.logged), std::string::npos);
  }
}

TEST_F(ReceiptImageTest, TransparentBlackPrintsBlack) {
  PreparedReceiptImage prepared = PrepareReceiptImage(Url("/img/clear.png"), {false, 0, 2, 2});
  Pixbuf bmp = Load(prepared.bmpPath);
  ASSERT_TRUE(bmp);
  const int channels = gdk_pixbuf_get_n_channels(bmp.get());
  const int stride = gdk_pixbuf_get_rowstride(bmp.get());
  const guchar* pixels = gdk_pixbuf_get_pixels(bmp.get());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(pixels[y * stride + x * channels + c], 0);
}

}  // namespace
}  // namespace vorna

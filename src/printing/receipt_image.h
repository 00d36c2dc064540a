#pragma once
// Images on receipts: downloaded into the program directory, scaled, reduced
// to black and white and saved as a BMP beside the download. Both files stay
// and are reused by later jobs.
#include <cstdint>
#include <functional>
#include <string>

namespace vorna {

// Dots of the widest raster line; percent sizes refer to it on every paper.
inline constexpr int kImageLineDots = 384;

// Connect and total limits of one image download: a dead server must not
// hold the print thread, and every job behind it, for long.
struct ImageDownloadLimits {
  long connectMilliseconds = 5000;
  long totalMilliseconds = 20000;
};
ImageDownloadLimits CurrentImageDownloadLimits();
// For tests that need a dead server to give up sooner.
void SetImageDownloadLimits(const ImageDownloadLimits& limits);

// The local file name of a URL: the text after its last '/', or the whole URL
// without one. Empty when that would not name a file in the program
// directory ("", "." or "..").
std::string ImageFileNameForUrl(const std::string& url);
// The converted file: `downloadedPath` up to its last '.', then width and
// height in decimal, then ".bmp". Empty when the file name has no '.'.
std::string ConvertedImagePath(const std::string& downloadedPath, int width, int height);

// Where failures are written; the software log when empty.
using ImageLog = std::function<void(const std::u16string& text)>;

class ImageFetcher {
 public:
  explicit ImageFetcher(ImageLog log = {});

  // Fetches `url` into the program directory unless its file is there
  // already. True when downloadedPath() is set.
  bool download(const std::u16string& url);
  // Set resultPath() when the converted BMP exists or was made.
  void scaleToSize(int width, int height);
  void scaleByPercent(int percent);

  const std::string& downloadedPath() const { return downloadedPath_; }
  const std::string& resultPath() const { return resultPath_; }

 private:
  ImageLog log_;
  std::string downloadedPath_;
  std::string resultPath_;
};

// Error diffusion to pure black and white, in place, on 8-bit RGB(A) pixels
// (R, G, B first in each pixel). Alpha is neither read nor changed.
void DitherToBlackWhite(uint8_t* pixels, int width, int height, int rowStride, int channels);

// The print size of an "img" element: a percentage of the line, or dots.
struct ReceiptImageSize {
  bool byPercent = false;
  int percent = 0;
  int width = 0;
  int height = 0;
};

struct PreparedReceiptImage {
  bool downloaded = false;  // false: the element prints nothing at all
  std::string bmpPath;      // empty when the conversion failed
};

// The whole preparation of one image, as a print job does it; logs failures.
PreparedReceiptImage PrepareReceiptImage(const std::u16string& url, const ReceiptImageSize& size,
                                         const ImageLog& log = {});

}  // namespace vorna

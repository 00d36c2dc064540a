#include "printing/receipt_image.h"

#include <curl/curl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "app/paths.h"
#include "app/text_encoding.h"
#include "log/log.h"

namespace vorna {
namespace {

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
struct PixbufDeleter {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using Pixbuf = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return fwrite(data, size, count, static_cast<FILE*>(file));
}

std::atomic<long> g_connectMilliseconds{ImageDownloadLimits{}.connectMilliseconds};
std::atomic<long> g_totalMilliseconds{ImageDownloadLimits{}.totalMilliseconds};

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

Pixbuf LoadPixbuf(const std::string& path) {
  return Pixbuf(gdk_pixbuf_new_from_file(path.c_str(), nullptr));
}

// The writable format whose MIME type is image/bmp, if the loaders have one.
const char* BmpFormatName() {
  static std::string name = [] {
    std::string found;
    GSList* formats = gdk_pixbuf_get_formats();
    for (GSList* item = formats; item != nullptr && found.empty(); item = item->next) {
      auto* format = static_cast<GdkPixbufFormat*>(item->data);
      if (!gdk_pixbuf_format_is_writable(format)) continue;
      gchar** types = gdk_pixbuf_format_get_mime_types(format);
      for (gchar** type = types; type != nullptr && *type != nullptr; ++type)
        if (std::string(*type) == "image/bmp") {
          gchar* formatName = gdk_pixbuf_format_get_name(format);
          found = formatName;
          g_free(formatName);
          break;
        }
      g_strfreev(types);
    }
    g_slist_free(formats);
    return found;
  }();
  return name.empty() ? nullptr : name.c_str();
}

// Scales `source` to the target size, dithers it and saves the BMP.
bool ScaleDitherSave(GdkPixbuf* source, const std::string& convertedPath, int width, int height,
                     const ImageLog& log) {
  Pixbuf scaled;
  if (width > 0 && height > 0)
    scaled.reset(gdk_pixbuf_scale_simple(source, width, height, GDK_INTERP_HYPER));
  if (!scaled) {
    log(u"缩放图片失败");
    return false;
  }
  DitherToBlackWhite(gdk_pixbuf_get_pixels(scaled.get()), gdk_pixbuf_get_width(scaled.get()),
                     gdk_pixbuf_get_height(scaled.get()), gdk_pixbuf_get_rowstride(scaled.get()),
                     gdk_pixbuf_get_n_channels(scaled.get()));
  const char* format = BmpFormatName();
  if (format == nullptr) return false;
  if (!gdk_pixbuf_save(scaled.get(), convertedPath.c_str(), format, nullptr, nullptr)) {
    unlink(convertedPath.c_str());  // no half-written picture for later jobs to reuse
    return false;
  }
  return true;
}

}  // namespace

ImageDownloadLimits CurrentImageDownloadLimits() {
  return {g_connectMilliseconds.load(), g_totalMilliseconds.load()};
}

void SetImageDownloadLimits(const ImageDownloadLimits& limits) {
  g_connectMilliseconds = limits.connectMilliseconds;
  g_totalMilliseconds = limits.totalMilliseconds;
}

std::string ImageFileNameForUrl(const std::string& url) {
  size_t slash = url.rfind('/');
  std::string name = slash == std::string::npos ? url : url.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return {};
  return name;
}

std::string ConvertedImagePath(const std::string& downloadedPath, int width, int height) {
  // Only a dot of the file name counts; one in a folder name would put the
  // converted file elsewhere.
  size_t dot = downloadedPath.rfind('.');
  size_t slash = downloadedPath.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return downloadedPath.substr(0, dot) + std::to_string(width) + std::to_string(height) + ".bmp";
}

ImageFetcher::ImageFetcher(ImageLog log) : log_(std::move(log)) {
  if (!log_) log_ = [](const std::u16string& text) { WriteSoftwareLog(text); };
}

bool ImageFetcher::download(const std::u16string& url) {
  const std::string name = ImageFileNameForUrl(Utf16ToUtf8(url));
  if (name.empty()) return false;
  const std::string localPath = ProgramDirectory() + name;
  if (FileExists(localPath)) {
    downloadedPath_ = localPath;
    return true;
  }

  InitCurlOnce();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return false;
  const std::string transferUrl = WideToPrinterText(url);

  // The picture arrives under a temporary name and takes its own name only
  // when complete: a file cut short (the client may exit mid-download) must
  // not be taken for a downloaded picture by later jobs.
  std::string partPath = ProgramDirectory() + ".image-download-XXXXXX";
  errno = 0;
  int fd = mkstemp(partPath.data());
  if (fd >= 0) fchmod(fd, 0644);
  std::unique_ptr<FILE, FileCloser> file(fd >= 0 ? fdopen(fd, "wb") : nullptr);
  if (!file) {
    const int error = errno;
    if (fd >= 0) {
      close(fd);
      unlink(partPath.c_str());
    }
    log_(Utf8ToUtf16(localPath) + u"  errorCode:" + Utf8ToUtf16(std::to_string(error)));
    return false;
  }

  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, transferUrl.c_str());
  curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, file.get());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  const ImageDownloadLimits limits = CurrentImageDownloadLimits();
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.connectMilliseconds);
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, limits.totalMilliseconds);
  // Time limits must not use signals on a worker thread.
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);

  bool succeeded = false;
  CURLcode code = curl_easy_perform(handle);
  if (code != CURLE_OK) {
    std::u16string text = AnsiToWide(curl_easy_strerror(code));
    log_(text.empty() ? Utf8ToUtf16(curl_easy_strerror(code)) : text);
  } else {
    char* contentType = nullptr;
    succeeded = curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK &&
                contentType != nullptr && std::string(contentType).find("image") != std::string::npos;
  }
  curl.reset();
  bool closed = fclose(file.release()) == 0;
  if (succeeded && closed) {
    if (rename(partPath.c_str(), localPath.c_str()) == 0) {
      downloadedPath_ = localPath;
      return true;
    }
    log_(Utf8ToUtf16(localPath) + u"  errorCode:" + Utf8ToUtf16(std::to_string(errno)));
  }
  unlink(partPath.c_str());
  return false;
}

void ImageFetcher::scaleByPercent(int percent) {
  Pixbuf source = LoadPixbuf(downloadedPath_);
  if (!source) {
    log_(u"打开下载源图片失败");
    return;
  }
  const int64_t width = static_cast<int64_t>(percent) * kImageLineDots / 100;
  const int64_t height = width * gdk_pixbuf_get_height(source.get()) / gdk_pixbuf_get_width(source.get());
  const std::string convertedPath =
      ConvertedImagePath(downloadedPath_, static_cast<int>(width), static_cast<int>(height));
  if (convertedPath.empty()) return;
  if (FileExists(convertedPath)) {
    resultPath_ = convertedPath;
    return;
  }
  if (ScaleDitherSave(source.get(), convertedPath, static_cast<int>(width),
                      static_cast<int>(height), log_))
    resultPath_ = convertedPath;
}

void ImageFetcher::scaleToSize(int width, int height) {
  const std::string convertedPath = ConvertedImagePath(downloadedPath_, width, height);
  if (convertedPath.empty()) return;
  if (FileExists(convertedPath)) {
    resultPath_ = convertedPath;
    return;
  }
  Pixbuf source = LoadPixbuf(downloadedPath_);
  if (!source) {
    log_(u"打开下载源图片失败");
    return;
  }
  if (ScaleDitherSave(source.get(), convertedPath, width, height, log_))
    resultPath_ = convertedPath;
}

void DitherToBlackWhite(uint8_t* pixels, int width, int height, int rowStride, int channels) {
  if (pixels == nullptr || width <= 0 || height <= 0 || channels < 3) return;
  // Error of pixel x lives at x + 1; the two outer entries stay 0.
  std::vector<int> evenRows(static_cast<size_t>(width) + 2, 0);
  std::vector<int> oddRows(static_cast<size_t>(width) + 2, 0);
  for (int y = 0; y < height; ++y) {
    uint8_t* pixel = pixels + static_cast<ptrdiff_t>(y) * rowStride;
    const bool odd = (y & 1) != 0;
    std::vector<int>& own = odd ? oddRows : evenRows;
    const std::vector<int>& a = evenRows;
    const std::vector<int>& b = oddRows;
    for (int x = 0; x < width; ++x, pixel += channels) {
      const int gray = static_cast<int>(pixel[1] * 0.587 + pixel[0] * 0.299 + pixel[2] * 0.114);
      // Even rows read entry x + 2 of their own buffer before it is
      // rewritten: the error of pixel x + 1 two rows up.
      const int err = odd ? static_cast<int>(0.375 * a[x + 1] + 0.25 * a[x] + 0.375 * b[x])
                          : static_cast<int>(0.25 * b[x + 2] + 0.375 * b[x + 1] + 0.375 * a[x + 2]);
      const int value = gray + err;
      const uint8_t level = value < 128 ? 0 : 255;
      pixel[0] = pixel[1] = pixel[2] = level;
      own[x + 1] = value < 128 ? value : value - 255;
    }
  }
}

PreparedReceiptImage PrepareReceiptImage(const std::u16string& url, const ReceiptImageSize& size,
                                         const ImageLog& log) {
  PreparedReceiptImage prepared;
  ImageFetcher fetcher(log);
  if (!fetcher.download(url)) {
    if (log)
      log(u"  打印图片下载失败");
    else
      WriteSoftwareLog(u"  打印图片下载失败");
    return prepared;
  }
  prepared.downloaded = true;
  if (size.byPercent)
    fetcher.scaleByPercent(size.percent);
  else
    fetcher.scaleToSize(size.width, size.height);
  prepared.bmpPath = fetcher.resultPath();
  return prepared;
}

}  // namespace vorna

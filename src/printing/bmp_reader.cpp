#include "printing/bmp_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vorna {
namespace {

constexpr int kMaxWidth = 65535;  // ESC * carries the width in two bytes
constexpr int64_t kMaxPixels = int64_t{1} << 25;
constexpr off_t kMaxFileBytes = off_t{256} << 20;

uint32_t U16(std::string_view d, size_t at) {
  return static_cast<uint8_t>(d[at]) | (static_cast<uint8_t>(d[at + 1]) << 8);
}
uint32_t U32(std::string_view d, size_t at) {
  return U16(d, at) | (U16(d, at + 2) << 16);
}

struct Layout {
  int64_t width = 0;
  int64_t height = 0;  // always positive here
  bool topDown = false;
  uint32_t bitsPerPixel = 0;
  uint32_t redMask = 0;
  size_t paletteOffset = 0;
  size_t paletteEntrySize = 4;
  size_t paletteEntries = 0;
  size_t pixelOffset = 0;
};

std::optional<Layout> ReadLayout(std::string_view d) {
  if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
  Layout layout;
  layout.pixelOffset = U32(d, 10);
  const uint32_t headerSize = U32(d, 14);
  if (headerSize > d.size() - 14) return std::nullopt;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  if (headerSize == 12) {
    layout.width = U16(d, 18);
    layout.height = U16(d, 20);
    layout.bitsPerPixel = U16(d, 24);
    layout.paletteEntrySize = 3;
  } else if (headerSize >= 40) {
    layout.width = static_cast<int32_t>(U32(d, 18));
    layout.height = static_cast<int32_t>(U32(d, 22));
    layout.bitsPerPixel = U16(d, 28);
    compression = U32(d, 30);
    colorsUsed = U32(d, 46);
  } else {
    return std::nullopt;
  }
  if (layout.height < 0) {
    layout.topDown = true;
    layout.height = -layout.height;
  }
  if (layout.width < 1 || layout.width > kMaxWidth || layout.height < 1 ||
      layout.width * layout.height > kMaxPixels)
    return std::nullopt;

  size_t afterHeader = 14 + headerSize;
  switch (layout.bitsPerPixel) {
    case 1: case 4: case 8:
      if (compression != 0) return std::nullopt;
      layout.paletteEntries = colorsUsed != 0 ? colorsUsed : (size_t{1} << layout.bitsPerPixel);
      if (layout.paletteEntries > 256) return std::nullopt;
      break;
    case 16: case 24: case 32:
      if (compression == 0) {
        layout.redMask = layout.bitsPerPixel == 16 ? 0x7C00 : 0xFF0000;
      } else if (compression == 3 && layout.bitsPerPixel != 24) {
        // The masks follow a 40-byte header and sit inside the larger ones.
        if (headerSize == 40) {
          if (d.size() < afterHeader + 12) return std::nullopt;
          layout.redMask = U32(d, afterHeader);
          afterHeader += 12;
        } else if (headerSize >= 44) {
          layout.redMask = U32(d, 54);
        } else {
          return std::nullopt;
        }
      } else {
        return std::nullopt;
      }
      break;
    default:
      return std::nullopt;
  }
  layout.paletteOffset = afterHeader;
  if (layout.paletteEntries * layout.paletteEntrySize > d.size() - afterHeader)
    return std::nullopt;
  return layout;
}

}  // namespace

std::optional<MonoBitmap> DecodeBmp(std::string_view d) {
  std::optional<Layout> layout = ReadLayout(d);
  if (!layout) return std::nullopt;
  const size_t stride = ((static_cast<size_t>(layout->width) * layout->bitsPerPixel + 31) / 32) * 4;
  const size_t height = static_cast<size_t>(layout->height);
  if (layout->pixelOffset > d.size() || stride * height > d.size() - layout->pixelOffset)
    return std::nullopt;

  std::vector<bool> blackEntry(layout->paletteEntries);
  for (size_t i = 0; i < layout->paletteEntries; ++i) {
    // Entries are stored blue, green, red.
    blackEntry[i] = d[layout->paletteOffset + i * layout->paletteEntrySize + 2] == 0;
  }

  MonoBitmap bitmap;
  bitmap.width = static_cast<int>(layout->width);
  bitmap.height = static_cast<int>(layout->height);
  bitmap.black.resize(static_cast<size_t>(bitmap.width) * height);
  const uint32_t bits = layout->bitsPerPixel;
  for (size_t y = 0; y < height; ++y) {
    size_t fileRow = layout->topDown ? y : height - 1 - y;
    std::string_view row = d.substr(layout->pixelOffset + fileRow * stride, stride);
    for (int x = 0; x < bitmap.width; ++x) {
      bool black;
      if (bits <= 8) {
        size_t bitIndex = static_cast<size_t>(x) * bits;
        uint32_t byte = static_cast<uint8_t>(row[bitIndex / 8]);
        uint32_t index = (byte >> (8 - bits - bitIndex % 8)) & ((1u << bits) - 1);
        black = index >= blackEntry.size() || blackEntry[index];
      } else if (bits == 24) {
        black = row[static_cast<size_t>(x) * 3 + 2] == 0;
      } else {
        uint32_t pixel = bits == 16 ? U16(row, static_cast<size_t>(x) * 2)
                                    : U32(row, static_cast<size_t>(x) * 4);
        black = (pixel & layout->redMask) == 0;
      }
      bitmap.black[y * bitmap.width + x] = black ? 1 : 0;
    }
  }
  return bitmap;
}

std::optional<MonoBitmap> ReadBmpFile(const std::string& path) {
  // Non-blocking open so a FIFO named in a template cannot stall the job.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct FdCloser {
    int fd;
    ~FdCloser() { close(fd); }
  } closer{fd};
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileBytes)
    return std::nullopt;
  std::string data(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = read(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    done += static_cast<size_t>(n);
  }
  return DecodeBmp(data);
}

}  // namespace vorna

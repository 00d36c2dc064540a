#pragma once
// Black-and-white pictures for raster printing, read from BMP files without
// any image library: the printer only needs to know which dots are black.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorna {

struct MonoBitmap {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> black;  // row-major from the top, 1 = black dot

  bool IsBlack(int x, int y) const { return black[static_cast<size_t>(y) * width + x] != 0; }
};

// Decodes an uncompressed (or bit-field) BMP of 1, 4, 8, 16, 24 or 32 bits per
// pixel. A pixel is black when its red component is 0; a palette index that
// points past the palette counts as black. Nothing on malformed or oversized
// data (wider than 65535 or more than 32 M pixels).
std::optional<MonoBitmap> DecodeBmp(std::string_view data);

// Reads a regular file (never a device or a pipe) and decodes it.
std::optional<MonoBitmap> ReadBmpFile(const std::string& path);

}  // namespace vorna

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace slidewell::testing_support {

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// How a test BMP file stores its pixels, uncompressed.
struct BmpStorage {
  int bitsPerPixel = 24;  // 8 (a palette of the picture's colours, at most 256, in the order met), 24 or 32
  bool topDown = false;
  bool bitfields = false;       // 32 bits as BI_BITFIELDS with the masks of plain BGR
  int headerSize = 40;          // 40, 108 or 124
  std::uint8_t fourthByte = 0;  // of every 32-bit pixel
};

// The bytes of a BMP file stored as `storage` says, each pixel coloured by `colour(x, y)`.
std::vector<std::uint8_t> bmpBytes(int width, int height, const BmpStorage& storage,
                                   const std::function<Rgb(int x, int y)>& colour);

// The bytes of a 24-bit bottom-up BMP file, each pixel coloured by `colour(x, y)`.
std::vector<std::uint8_t> bmpBytes(int width, int height, const std::function<Rgb(int x, int y)>& colour);

// The same in one colour.
std::vector<std::uint8_t> solidBmpBytes(int width, int height, Rgb colour);

}  // namespace slidewell::testing_support

#include "bmp_file.h"

#include "bytes_builder.h"

namespace slidewell::testing_support {

std::vector<std::uint8_t> bmpBytes(int width, int height, const std::function<Rgb(int x, int y)>& colour) {
  const auto rowBytes = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
  const auto pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
  Bytes out;
  out.data.reserve(54 + pixelBytes);
  out.text("BM").le(54 + pixelBytes, 4).le(0, 4).le(54, 4);
  out.le(40, 4).le(static_cast<std::uint32_t>(width), 4).le(static_cast<std::uint32_t>(height), 4).le(1, 2).le(24, 2);
  out.le(0, 4).le(pixelBytes, 4).le(2835, 4).le(2835, 4).le(0, 4).le(0, 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      out.raw({c.b, c.g, c.r});
    }
    out.zeros(rowBytes - static_cast<std::uint32_t>(width) * 3);
  }
  return out.data;
}

std::vector<std::uint8_t> solidBmpBytes(int width, int height, Rgb colour) {
  return bmpBytes(width, height, [colour](int, int) { return colour; });
}

}  // namespace slidewell::testing_support

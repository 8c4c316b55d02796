#include "bmp_file.h"

namespace slidewell::testing_support {
namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> bmpBytes(int width, int height, const std::function<Rgb(int x, int y)>& colour) {
  const auto rowBytes = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
  const auto pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> out;
  out.reserve(54 + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + pixelBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, pixelBytes);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::uint32_t written = 0;
    for (int x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      written += 3;
    }
    for (; written < rowBytes; ++written) out.push_back(0);
  }
  return out;
}

std::vector<std::uint8_t> solidBmpBytes(int width, int height, Rgb colour) {
  return bmpBytes(width, height, [colour](int, int) { return colour; });
}

}  // namespace slidewell::testing_support

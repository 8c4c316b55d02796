#include "bmp_file.h"

#include <algorithm>

#include "bytes_builder.h"

namespace slidewell::testing_support {
namespace {

// The picture's colours in the order met, top row first.
std::vector<Rgb> coloursOf(int width, int height, const std::function<Rgb(int x, int y)>& colour) {
  std::vector<Rgb> colours;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
    }
  }
  return colours;
}

}  // namespace

std::vector<std::uint8_t> bmpBytes(int width, int height, const BmpStorage& storage,
                                   const std::function<Rgb(int x, int y)>& colour) {
  const std::vector<Rgb> palette = storage.bitsPerPixel == 8 ? coloursOf(width, height, colour) : std::vector<Rgb>{};
  const auto rowBytes = static_cast<std::uint32_t>((width * storage.bitsPerPixel / 8 + 3) / 4 * 4);
  const auto pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
  const bool masksAfterHeader = storage.bitfields && storage.headerSize == 40;
  const auto pixelOffset =
      static_cast<std::uint32_t>(14 + storage.headerSize + (masksAfterHeader ? 12 : 0) + palette.size() * 4);
  const auto storedHeight = static_cast<std::uint32_t>(storage.topDown ? -height : height);
  Bytes out;
  out.text("BM").le(pixelOffset + pixelBytes, 4).le(0, 4).le(pixelOffset, 4);
  out.le(static_cast<std::uint32_t>(storage.headerSize), 4)
      .le(static_cast<std::uint32_t>(width), 4)
      .le(storedHeight, 4);
  out.le(1, 2).le(static_cast<std::uint32_t>(storage.bitsPerPixel), 2).le(storage.bitfields ? 3 : 0, 4);
  out.le(pixelBytes, 4).le(2835, 4).le(2835, 4).le(palette.size(), 4).le(0, 4);
  if (storage.bitfields) out.le(0x00FF0000, 4).le(0x0000FF00, 4).le(0x000000FF, 4);
  out.zeros(static_cast<std::size_t>(storage.headerSize) + (masksAfterHeader ? 12 : 0) + 14 - out.data.size());
  for (const Rgb& c : palette) out.raw({c.b, c.g, c.r, 0});
  for (int row = 0; row < height; ++row) {
    const int y = storage.topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      if (storage.bitsPerPixel == 8) {
        out.raw({static_cast<int>(std::find(palette.begin(), palette.end(), c) - palette.begin())});
      } else {
        out.raw({c.b, c.g, c.r});
        if (storage.bitsPerPixel == 32) out.raw({storage.fourthByte});
      }
    }
    out.zeros(rowBytes - static_cast<std::uint32_t>(width * storage.bitsPerPixel / 8));
  }
  return out.data;
}

std::vector<std::uint8_t> bmpBytes(int width, int height, const std::function<Rgb(int x, int y)>& colour) {
  return bmpBytes(width, height, BmpStorage{}, colour);
}

std::vector<std::uint8_t> solidBmpBytes(int width, int height, Rgb colour) {
  return bmpBytes(width, height, [colour](int, int) { return colour; });
}

}  // namespace slidewell::testing_support

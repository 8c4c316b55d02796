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

namespace slidewell::testing_support {

std::vector<std::uint8_t> bmpFile(const BmpHeader& header, const std::vector<std::uint8_t>& pixels) {
  const bool core = header.headerSize == 12;
  const bool masksAfter = header.headerSize == 40 && !header.masks.empty();
  const std::size_t paletteBytes = header.palette.size() * (core ? 3 : 4);
  const std::size_t headersEnd =
      14 + static_cast<std::size_t>(header.headerSize) + (masksAfter ? 4 * header.masks.size() : 0);
  const auto offset = header.pixelOffset.value_or(static_cast<std::uint32_t>(headersEnd + paletteBytes));
  Bytes info;
  info.le(static_cast<std::uint32_t>(header.headerSize), 4);
  if (core) {
    info.le(static_cast<std::uint32_t>(header.width), 2).le(static_cast<std::uint32_t>(header.height), 2);
    info.le(1, 2).le(static_cast<std::uint32_t>(header.bitsPerPixel), 2);
  } else {
    info.le(static_cast<std::uint32_t>(header.width), 4).le(static_cast<std::uint32_t>(header.height), 4);
    info.le(1, 2).le(static_cast<std::uint32_t>(header.bitsPerPixel), 2).le(header.compression, 4);
    info.le(header.imageSize, 4).le(2835, 4).le(2835, 4);
    info.le(header.counted.value_or(static_cast<std::uint32_t>(header.palette.size())), 4).le(0, 4);
    if (!masksAfter) {
      for (const std::uint32_t mask : header.masks) info.le(mask, 4);
    }
    // A longer header's other fields (the colour space and what follows) stay 0; a short one is cut.
    info.data.resize(static_cast<std::size_t>(header.headerSize), 0);
    if (masksAfter) {
      for (const std::uint32_t mask : header.masks) info.le(mask, 4);
    }
  }
  Bytes out;
  out.text("BM").le(offset + pixels.size(), 4).le(0, 4).le(offset, 4);
  out.data.insert(out.data.end(), info.data.begin(), info.data.end());
  for (const Rgb& c : header.palette) {
    out.raw({c.b, c.g, c.r});
    if (!core) out.raw({0});
  }
  if (out.data.size() < offset) out.zeros(offset - out.data.size());
  out.data.insert(out.data.end(), pixels.begin(), pixels.end());
  return out.data;
}

std::vector<std::uint8_t> storedRows(int width, int height, int bits, bool topDown,
                                     const std::function<std::uint64_t(int x, int y)>& value) {
  const std::size_t stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
  std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height), 0);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    std::uint8_t* const stored = rows.data() + stride * static_cast<std::size_t>(row);
    for (int x = 0; x < width; ++x) {
      const std::uint64_t v = value(x, y);
      if (bits < 8) {
        const int bit = x * bits;
        stored[bit / 8] = static_cast<std::uint8_t>(stored[bit / 8] | v << (8 - bits - bit % 8));
      } else {
        for (int i = 0; i < bits / 8; ++i) stored[x * (bits / 8) + i] = static_cast<std::uint8_t>(v >> (8 * i));
      }
    }
  }
  return rows;
}

}  // namespace slidewell::testing_support

namespace slidewell::testing_support {

std::vector<std::uint8_t> runLengthCodes(int width, int height, int bits,
                                         const std::function<int(int x, int y)>& index) {
  std::vector<std::uint8_t> codes;
  for (int y = height - 1; y >= 0; --y) {
    int x = 0;
    while (x < width) {
      int same = 1;
      while (x + same < width && same < 255 && index(x + same, y) == index(x, y)) ++same;
      if (same >= 3 || width - x < 3) {
        const int count = same >= 3 ? same : 1;
        codes.push_back(static_cast<std::uint8_t>(count));
        codes.push_back(static_cast<std::uint8_t>(bits == 4 ? index(x, y) * 17 : index(x, y)));
        x += count;
        continue;
      }
      // A literal of at least 3, up to where a run of 3 begins.
      int count = 3;
      while (x + count < width && count < 254 &&
             !(x + count + 2 < width && index(x + count, y) == index(x + count + 1, y) &&
               index(x + count, y) == index(x + count + 2, y))) {
        ++count;
      }
      codes.push_back(0);
      codes.push_back(static_cast<std::uint8_t>(count));
      std::size_t bytes = 0;
      for (int i = 0; i < count; ++i) {
        if (bits == 8) {
          codes.push_back(static_cast<std::uint8_t>(index(x + i, y)));
          ++bytes;
        } else if (i % 2 == 0) {
          const int low = i + 1 < count ? index(x + i + 1, y) : 0;
          codes.push_back(static_cast<std::uint8_t>(index(x + i, y) << 4 | low));
          ++bytes;
        }
      }
      if (bytes % 2 != 0) codes.push_back(0);
      x += count;
    }
    codes.push_back(0);
    codes.push_back(y == 0 ? 1 : 0);
  }
  return codes;
}

}  // namespace slidewell::testing_support

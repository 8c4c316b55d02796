#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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

namespace slidewell::testing_support {

// The headers of a test BMP file of any kind, written field by field.
struct BmpHeader {
  int headerSize = 40;  // 12 (OS/2 1.x), 16 to 64 (OS/2 2.x), or 40, 52, 56, 108, 124 (Windows)
  int width = 1;
  int height = 1;  // negative: top-down
  int bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::vector<Rgb> palette{};              // written as 3-byte entries after a 12-byte header, 4-byte ones otherwise
  std::optional<std::uint32_t> counted{};  // the colours the header counts, when not the palette's size
  // Red, green, blue (and alpha) masks: after a 40-byte header (three, or four with BI_ALPHABITFIELDS),
  // inside a longer one.
  std::vector<std::uint32_t> masks{};
  std::uint32_t imageSize = 0;                 // as the header declares it
  std::optional<std::uint32_t> pixelOffset{};  // where the pixels begin, when not right after the palette
};

// The bytes of a BMP file with those headers, then `pixels` as they are.
std::vector<std::uint8_t> bmpFile(const BmpHeader& header, const std::vector<std::uint8_t>& pixels);

// Uncompressed rows of `bits` a pixel, each padded to 4 bytes, stored bottom-up unless `topDown`:
// `value(x, y)` is each pixel's stored value (an index, or the pixel's bits as a little-endian number).
std::vector<std::uint8_t> storedRows(int width, int height, int bits, bool topDown,
                                     const std::function<std::uint64_t(int x, int y)>& value);

}  // namespace slidewell::testing_support

namespace slidewell::testing_support {

// Run-length codes (RLE8 at 8 bits, RLE4 at 4) of a bottom-up picture of indices `index(x, y)`: each
// row as runs of one index and literals, ended by an end of line, the last by the end of the picture.
// Every pixel is coded: no moves, no early ends.
std::vector<std::uint8_t> runLengthCodes(int width, int height, int bits,
                                         const std::function<int(int x, int y)>& index);

}  // namespace slidewell::testing_support

#include "bmp_kinds.h"

#include <cstddef>
#include <cstdint>

namespace slidewell::testing_support {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// A 3 x 2 picture of `bits` a pixel whose stored values are given top row first.
std::vector<std::uint8_t> threeByTwo(BmpHeader header, const std::vector<std::uint64_t>& values) {
  header.width = 3;
  if (header.height == 1) header.height = 2;
  const bool topDown = header.height < 0;
  return testing_support::bmpFile(header, storedRows(3, 2, header.bitsPerPixel, topDown,
                                                     [&](int x, int y) { return values[std::size_t(y * 3 + x)]; }));
}

// The bytes of a 64-bit pixel: four signed fixed-point samples, blue first.
std::uint64_t wide(std::int16_t b, std::int16_t g, std::int16_t r, std::int16_t a) {
  const auto u = [](std::int16_t v) { return std::uint64_t{static_cast<std::uint16_t>(v)}; };
  return u(b) | u(g) << 16 | u(r) << 32 | u(a) << 48;
}

}  // namespace

std::vector<std::uint8_t> runLengthBmp(int bits, std::uint32_t compression, const std::vector<int>& codes, int height,
                                       int headerSize) {
  std::vector<std::uint8_t> data(codes.begin(), codes.end());
  return testing_support::bmpFile({.headerSize = headerSize,
                                   .width = 4,
                                   .height = height,
                                   .bitsPerPixel = bits,
                                   .compression = compression,
                                   .palette = bits <= 8 ? bmpKindPalette() : std::vector<Rgb>{}},
                                  data);
}

const std::vector<Rgb>& bmpKindPalette() {
  static const std::vector<Rgb> palette{{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
  return palette;
}

std::vector<BmpKind> everyBmpKind() {
  const auto& p = bmpKindPalette();
  return {
      {"1 bit, bottom-up",
       threeByTwo({.bitsPerPixel = 1, .palette = {p[0], p[1]}}, {0, 1, 0, 1, 0, 1}),
       {p[0], p[1], p[0], p[1], p[0], p[1]}},
      {"1 bit, a palette longer than it indexes",
       threeByTwo({.bitsPerPixel = 1, .palette = p}, {1, 1, 0, 0, 0, 1}),
       {p[1], p[1], p[0], p[0], p[0], p[1]}},
      {"2 bits, top-down",
       threeByTwo({.height = -2, .bitsPerPixel = 2, .palette = p}, {0, 1, 2, 1, 2, 3}),
       {p[0], p[1], p[2], p[1], p[2], p[3]}},
      {"4 bits, a short palette: an index past it is black",
       threeByTwo({.bitsPerPixel = 4, .palette = {p[0], p[1], p[2]}}, {0, 1, 2, 2, 3, 15}),
       {p[0], p[1], p[2], p[2], kBlack, kBlack}},
      {"8 bits, counting no colours: all that precede the pixels",
       threeByTwo({.bitsPerPixel = 8, .palette = p, .counted = 0}, {3, 2, 1, 0, 4, 255}),
       {p[3], p[2], p[1], p[0], kBlack, kBlack}},
      {"OS/2 1.x header, 8 bits, 3-byte colours",
       threeByTwo({.headerSize = 12, .bitsPerPixel = 8, .palette = p}, {0, 1, 2, 3, 2, 1}),
       {p[0], p[1], p[2], p[3], p[2], p[1]}},
      {"OS/2 1.x header, 24 bits",
       threeByTwo({.headerSize = 12}, {0x0000FF, 0x00FF00, 0xFF0000, 0x102030, 0, 0xFFFFFF}),
       {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0x10, 0x20, 0x30}, kBlack, kWhite}},
      {"OS/2 2.x header of 16 bytes, 24 bits",
       threeByTwo({.headerSize = 16}, {0x0000FF, 0x00FF00, 0xFF0000, 0x102030, 0, 0xFFFFFF}),
       {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0x10, 0x20, 0x30}, kBlack, kWhite}},
      {"OS/2 2.x header of 64 bytes, 4 bits",
       threeByTwo({.headerSize = 64, .bitsPerPixel = 4, .palette = p}, {3, 3, 0, 1, 2, 3}),
       {p[3], p[3], p[0], p[1], p[2], p[3]}},
      {"24 bits with a palette, which is skipped",
       threeByTwo({.palette = {p[0], p[1]}}, {0x0000FF, 0x00FF00, 0xFF0000, 0x102030, 0, 0xFFFFFF}),
       {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0x10, 0x20, 0x30}, kBlack, kWhite}},
      {"16 bits, 5-5-5 without masks",
       threeByTwo({.bitsPerPixel = 16}, {0x7C00, 0x03E0, 0x001F, 0x4210, 0x0421, 0x8000}),
       {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, 132, 132}, {8, 8, 8}, kBlack}},
      {"16 bits, 5-6-5 masks after the header",
       threeByTwo({.bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}},
                  {0xF800, 0x0020, 0x001F, 0x8410, 0, 0xFFFF}),
       {{255, 0, 0}, {0, 4, 0}, {0, 0, 255}, {132, 130, 132}, kBlack, kWhite}},
      {"16 bits, 2-3-1",
       threeByTwo({.bitsPerPixel = 16, .compression = 3, .masks = {0x30, 0x0E, 0x01}},
                  {0x30, 0x08, 0x01, 0x10, 0x02, 0x3F}),
       {{255, 0, 0}, {0, 146, 0}, {0, 0, 255}, {85, 0, 0}, {0, 36, 0}, kWhite}},
      {"16 bits, 3-10-3 in a 52-byte header",
       threeByTwo({.headerSize = 52, .bitsPerPixel = 16, .compression = 3, .masks = {0xE000, 0x1FF8, 0x0007}},
                  {0xE000, 0x1000, 0x0004, 0, 0xFFFF, 0x0008}),
       {{255, 0, 0}, {0, 128, 0}, {0, 0, 146}, kBlack, kWhite, kBlack}},
      {"16 bits, 4-4-4-4 with alpha (BI_ALPHABITFIELDS), over black",
       threeByTwo({.bitsPerPixel = 16, .compression = 6, .masks = {0x0F00, 0x00F0, 0x000F, 0xF000}},
                  {0xFF00, 0x80F0, 0x000F, 0xF123, 0x0000, 0x7777}),
       {{255, 0, 0}, {0, 136, 0}, kBlack, {17, 34, 51}, kBlack, {56, 56, 56}}},
      {"16 bits, 5-5-5-1 in a 56-byte header",
       threeByTwo({.headerSize = 56, .bitsPerPixel = 16, .compression = 3, .masks = {0x7C00, 0x03E0, 0x001F, 0x8000}},
                  {0xFC00, 0x7C00, 0x801F, 0xFFFF, 0x7FFF, 0x8000}),
       {{255, 0, 0}, kBlack, {0, 0, 255}, kWhite, kBlack, kBlack}},
      {"32 bits whose alpha is all zero: opaque",
       threeByTwo({.bitsPerPixel = 32}, {0x112233, 0xFF0000, 0xFF, 0, 0xFFFFFF, 0x808080}),
       {{0x11, 0x22, 0x33}, {255, 0, 0}, {0, 0, 255}, kBlack, kWhite, {128, 128, 128}}},
      {"32 bits with alpha in the fourth byte, over black",
       threeByTwo({.bitsPerPixel = 32}, {0x80FF0000, 0xFF00FF00, 0x00FFFFFF, 0xFF112233, 0x5AFFFFFF, 0x01000000}),
       {{128, 0, 0}, {0, 255, 0}, kBlack, {0x11, 0x22, 0x33}, {90, 90, 90}, kBlack}},
      {"32 bits, masks in red-green-blue order",
       threeByTwo({.bitsPerPixel = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}},
                  {0x332211, 0xFF, 0xFF0000, 0, 0xFFFFFF, 0x00FF00}),
       {{0x11, 0x22, 0x33}, {255, 0, 0}, {0, 0, 255}, kBlack, kWhite, {0, 255, 0}}},
      {"32 bits, 10-10-10-2 in a 124-byte header",
       threeByTwo({.headerSize = 124,
                   .bitsPerPixel = 32,
                   .compression = 3,
                   .masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}},
                  {0xFFF00000, 0xC0080000, 0xC00003FF, 0x40000000, 0xFFFFFFFF, 0x7FFFFFFF}),
       {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}, kBlack, kWhite, {85, 85, 85}}},
      {"32 bits, 11-11-10 in a 108-byte header",
       threeByTwo(
           {.headerSize = 108, .bitsPerPixel = 32, .compression = 3, .masks = {0xFFE00000, 0x001FFC00, 0x000003FF}},
           {0x80000000, 0x000FA000, 0x00000200, 0, 0xFFFFFFFF, 0xFFE00000}),
       {{128, 0, 0}, {0, 125, 0}, {0, 0, 128}, kBlack, kWhite, {255, 0, 0}}},
      {"32 bits, 7-1-8-7 with alpha in the third field",
       threeByTwo({.headerSize = 56, .bitsPerPixel = 32, .compression = 3, .masks = {0x7F, 0x80, 0xFF00, 0x7F0000}},
                  {0x7F0040, 0x7F0080, 0x7F6400, 0x7FFFFF, 0x3F00FF, 0x00FFFF}),
       {{129, 0, 0}, {0, 255, 0}, {0, 0, 100}, kWhite, {126, 126, 0}, kBlack}},
      {"32 bits, alpha in the lowest byte",
       threeByTwo(
           {.headerSize = 124, .bitsPerPixel = 32, .compression = 3, .masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF}},
           {0x112233FF, 0xFF000080, 0x000000FF, 0xFFFFFF00, 0xFFFFFFFF, 0x00FF00FF}),
       {{0x11, 0x22, 0x33}, {128, 0, 0}, kBlack, kBlack, kWhite, {0, 255, 0}}},
      {"64 bits: linear fixed-point samples, encoded as sRGB",
       threeByTwo({.bitsPerPixel = 64}, {wide(0, 0, 0x2000, 0x2000), wide(0x06D9, 0x06D9, 0x06D9, 0x2000),
                                         wide(0, 0x3000, -100, 0x1000), wide(0x2000, 0x2000, 0x2000, 0x2000),
                                         wide(0x1000, 1, 100, 0x2000), wide(0x2000, 0x2000, 0x2000, 0)}),
       {{255, 0, 0}, {127, 127, 127}, {0, 128, 0}, kWhite, {29, 0, 188}, kBlack}},
  };
}

std::vector<BmpKind> everyRunLengthKind() {
  const auto& p = bmpKindPalette();
  const Rgb red{255, 0, 0};
  const Rgb blue{0, 0, 255};
  return {
      // Bottom row: a run of 4; middle: two literal indices (padded), then the end of the line;
      // top: a move right 2 and a run of 2, then the end of the picture.
      {"RLE8",
       runLengthBmp(8, 1, {4, 1, 0, 0, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1}),
       {kBlack, kBlack, p[3], p[3], p[2], p[3], p[0], kBlack, p[1], p[1], p[1], p[1]}},
      {"RLE8, a move down skips rows; the picture ends early",
       runLengthBmp(8, 1, {1, 2, 0, 2, 1, 2, 2, 3, 0, 1}),
       {kBlack, kBlack, p[3], p[3], kBlack, kBlack, kBlack, kBlack, p[2], kBlack, kBlack, kBlack}},
      {"RLE8, a run past the end of its line is cut there",
       runLengthBmp(8, 1, {9, 1, 0, 0, 2, 2, 0, 1}),
       {kBlack, kBlack, kBlack, kBlack, p[2], p[2], kBlack, kBlack, p[1], p[1], p[1], p[1]}},
      {"RLE8, the data ends before the picture does",
       runLengthBmp(8, 1, {4, 1, 0, 0, 2}),
       {kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, p[1], p[1], p[1], p[1]}},
      // Runs alternate two indices; a literal of three takes two bytes.
      {"RLE4",
       runLengthBmp(4, 2, {3, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 0, 4, 0x33, 0, 1}),
       {p[3], p[3], p[3], p[3], p[3], p[2], p[1], kBlack, p[1], p[2], p[1], kBlack}},
      // OS/2's 24-bit runs: a literal of three pixels takes nine bytes and one of padding.
      {"RLE24",
       runLengthBmp(24, 4, {2, 0, 0, 255, 0, 0, 0, 3, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0, 1}, 2, 64),
       {blue, {0, 255, 0}, blue, kBlack, red, red, kBlack, kBlack}},
  };
}

}  // namespace slidewell::testing_support

#include "picture/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "bytes_builder.h"
#include "memory_bytes.h"
#include "picture/bmp_pixels.h"
#include "picture/picture_header.h"

namespace slidewell::picture {
namespace {

using testing_support::BmpHeader;
using testing_support::MemoryBytes;
using testing_support::Rgb;
using testing_support::storedRows;
using Read = MemoryBytes::Read;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Bgra kOverBlack{0, 0, 0, 255};
const std::vector<Rgb> kPalette{{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};

std::optional<BmpLayout> layoutOf(const std::vector<std::uint8_t>& bytes) {
  const MemoryBytes file(bytes);
  ByteReader reader(file);
  auto layout = readBmpLayout(reader);
  EXPECT_EQ(file.readsOutside(), 0u);
  return layout;
}

// The pixels `area` reads as, top row first; empty when the reader refuses.
std::vector<Rgb> readArea(const std::vector<std::uint8_t>& bytes, const PixelArea& area, Bgra background = kOverBlack) {
  const auto layout = layoutOf(bytes);
  if (!layout) return {};
  const MemoryBytes file(bytes);
  ByteReader reader(file);
  std::vector<Bgra> out(std::size_t{area.width} * area.height);
  const bool read = readBmpArea(reader, *layout, area, out, background);
  EXPECT_EQ(file.readsOutside(), 0u);
  if (!read) return {};
  std::vector<Rgb> pixels;
  for (const Bgra& p : out) {
    EXPECT_EQ(p.a, 255);
    pixels.push_back(Rgb{p.r, p.g, p.b});
  }
  return pixels;
}

std::vector<Rgb> readWhole(const std::vector<std::uint8_t>& bytes) {
  const auto layout = layoutOf(bytes);
  if (!layout) return {};
  return readArea(bytes, PixelArea{0, 0, layout->width, layout->height});
}

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

TEST(BmpReaderTest, ReadsEveryKindToThePixelsItStores) {
  const auto& p = kPalette;
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<Rgb> pixels;
  } cases[] = {
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
  for (const auto& c : cases) {
    EXPECT_EQ(readWhole(c.bytes), c.pixels) << c.name;
  }
}

TEST(BmpReaderTest, WidensAFieldAsValueTimes255OverItsLargestRoundedToTheNearest) {
  EXPECT_EQ(widened(1, 1), 255);
  EXPECT_EQ(widened(1, 3), 85);
  EXPECT_EQ(widened(16, 31), 132);  // 131.6
  EXPECT_EQ(widened(1, 63), 4);     // 4.05
  EXPECT_EQ(widened(32, 63), 130);  // 129.5, a half up
  EXPECT_EQ(widened(1, 1023), 0);   // 0.25
  EXPECT_EQ(widened(32768, 65535), 128);
  EXPECT_EQ(widened(65535, 65535), 255);
}

// Run-length codes of a 4 x 3 picture, rows stored bottom-up.
std::vector<std::uint8_t> runLengths(int bits, std::uint32_t compression, const std::vector<int>& codes, int height = 3,
                                     int headerSize = 40) {
  std::vector<std::uint8_t> data(codes.begin(), codes.end());
  return testing_support::bmpFile({.headerSize = headerSize,
                                   .width = 4,
                                   .height = height,
                                   .bitsPerPixel = bits,
                                   .compression = compression,
                                   .palette = bits <= 8 ? kPalette : std::vector<Rgb>{}},
                                  data);
}

TEST(BmpReaderTest, DecodesRunLengthsWithMovesAndEarlyEndsLeavingWhatTheySkipBlack) {
  const auto& p = kPalette;
  const Rgb red{255, 0, 0};
  const Rgb blue{0, 0, 255};
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<Rgb> pixels;
  } cases[] = {
      // Bottom row: a run of 4; middle: two literal indices (padded), then the end of the line;
      // top: a move right 2 and a run of 2, then the end of the picture.
      {"RLE8",
       runLengths(8, 1, {4, 1, 0, 0, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1}),
       {kBlack, kBlack, p[3], p[3], p[2], p[3], p[0], kBlack, p[1], p[1], p[1], p[1]}},
      {"RLE8, a move down skips rows; the picture ends early",
       runLengths(8, 1, {1, 2, 0, 2, 1, 2, 2, 3, 0, 1}),
       {kBlack, kBlack, p[3], p[3], kBlack, kBlack, kBlack, kBlack, p[2], kBlack, kBlack, kBlack}},
      {"RLE8, a run past the end of its line is cut there",
       runLengths(8, 1, {9, 1, 0, 0, 2, 2, 0, 1}),
       {kBlack, kBlack, kBlack, kBlack, p[2], p[2], kBlack, kBlack, p[1], p[1], p[1], p[1]}},
      {"RLE8, the data ends before the picture does",
       runLengths(8, 1, {4, 1, 0, 0, 2}),
       {kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, p[1], p[1], p[1], p[1]}},
      // Runs alternate two indices; a literal of three takes two bytes.
      {"RLE4",
       runLengths(4, 2, {3, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 0, 4, 0x33, 0, 1}),
       {p[3], p[3], p[3], p[3], p[3], p[2], p[1], kBlack, p[1], p[2], p[1], kBlack}},
      // OS/2's 24-bit runs: a literal of three pixels takes nine bytes and one of padding.
      {"RLE24",
       runLengths(24, 4, {2, 0, 0, 255, 0, 0, 0, 3, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0, 1}, 2, 64),
       {blue, {0, 255, 0}, blue, kBlack, red, red, kBlack, kBlack}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readWhole(c.bytes), c.pixels) << c.name;
  }
}

TEST(BmpReaderTest, LaysAlphaOverTheBackgroundAndAveragesAPictureDown) {
  // 4 x 2 at 32 bits: opaque red and white, and half-transparent and transparent pixels.
  const auto bytes = testing_support::bmpFile(
      {.width = 4, .height = -2, .bitsPerPixel = 32}, storedRows(4, 2, 32, true, [](int x, int y) -> std::uint64_t {
        const std::uint32_t row[2][4] = {{0xFFFF0000, 0xFFFFFFFF, 0x80000000, 0x00FFFFFF},
                                         {0xFF0000FF, 0xFF0000FF, 0x8000FF00, 0x8000FF00}};
        return row[y][x];
      }));
  const Bgra grey{100, 100, 100, 255};
  EXPECT_EQ(readArea(bytes, {2, 0, 2, 1}, grey), (std::vector<Rgb>{{50, 50, 50}, {100, 100, 100}}));
  const auto layout = layoutOf(bytes);
  ASSERT_TRUE(layout.has_value());
  const MemoryBytes file(bytes);
  ByteReader reader(file);
  std::vector<Bgra> out(2);
  ASSERT_TRUE(readBmpScaled(reader, *layout, 2, 1, out, grey));
  // Left: red, white and two blues, all opaque. Right: black at half, clear white and green at half
  // twice, so a quarter of grey shows through green.
  EXPECT_EQ(out[0], (Bgra{191, 64, 128, 255}));
  EXPECT_EQ(out[1], (Bgra{62, 126, 62, 255}));
  EXPECT_EQ(file.readsOutside(), 0u);
}

TEST(BmpLayoutTest, ReadsWhereEachKindKeepsItsPixels) {
  const struct {
    const char* name;
    BmpHeader header;
    std::size_t dataBytes;
    bool topDown;
    BmpCoding coding;
    std::uint64_t dataOffset;
    std::uint64_t stride;
    std::uint64_t dataSize;
  } cases[] = {
      {"24-bit, bottom-up, rows padded", {.width = 5, .height = 4}, 64, false, BmpCoding::Plain, 54, 16, 64},
      {"24-bit, top-down", {.width = 5, .height = -4}, 64, true, BmpCoding::Plain, 54, 16, 64},
      {"1-bit, 2 colours",
       {.width = 33, .height = 2, .bitsPerPixel = 1, .palette = {kWhite, kBlack}},
       16,
       false,
       BmpCoding::Plain,
       62,
       8,
       16},
      {"32-bit, version 5 header",
       {.headerSize = 124, .width = 5, .height = 4, .bitsPerPixel = 32},
       80,
       false,
       BmpCoding::Plain,
       138,
       20,
       80},
      {"32-bit masks after the header",
       {.width = 5, .height = -4, .bitsPerPixel = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}},
       80,
       true,
       BmpCoding::Plain,
       66,
       20,
       80},
      {"16-bit, alpha masks after the header",
       {.width = 5, .height = 4, .bitsPerPixel = 16, .compression = 6, .masks = {0xF00, 0xF0, 0xF, 0xF000}},
       48,
       false,
       BmpCoding::Plain,
       70,
       12,
       48},
      {"RLE8 with a wrong image size",
       {.width = 5, .height = 4, .bitsPerPixel = 8, .compression = 1, .palette = kPalette, .imageSize = 999},
       10,
       false,
       BmpCoding::Rle8,
       70,
       0,
       10},
      {"RLE4 with its image size",
       {.width = 5, .height = 4, .bitsPerPixel = 4, .compression = 2, .palette = kPalette, .imageSize = 6},
       10,
       false,
       BmpCoding::Rle4,
       70,
       0,
       6},
      {"a JPEG inside",
       {.width = 5, .height = 4, .bitsPerPixel = 0, .compression = 4},
       10,
       false,
       BmpCoding::Jpeg,
       54,
       0,
       10},
      {"a PNG inside",
       {.width = 5, .height = 4, .bitsPerPixel = 0, .compression = 5},
       10,
       false,
       BmpCoding::Png,
       54,
       0,
       10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto layout = layoutOf(testing_support::bmpFile(c.header, std::vector<std::uint8_t>(c.dataBytes)));
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->width, static_cast<std::uint32_t>(c.header.width));
    EXPECT_EQ(layout->height, static_cast<std::uint32_t>(std::abs(c.header.height)));
    EXPECT_EQ(layout->topDown, c.topDown);
    EXPECT_EQ(layout->coding, c.coding);
    EXPECT_EQ(layout->dataOffset, c.dataOffset);
    EXPECT_EQ(layout->stride, c.stride);
    EXPECT_EQ(layout->dataSize, c.dataSize);
  }
}

std::vector<std::uint8_t> withField(std::vector<std::uint8_t> bytes, std::size_t offset, std::size_t size,
                                    std::uint32_t value) {
  for (std::size_t i = 0; i < size; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

TEST(BmpLayoutTest, RefusesWhatItCannotRead) {
  const auto plain = testing_support::bmpFile({.width = 5, .height = 4}, std::vector<std::uint8_t>(64));
  const auto masks = testing_support::bmpFile({.headerSize = 108,
                                               .width = 5,
                                               .height = 4,
                                               .bitsPerPixel = 32,
                                               .compression = 3,
                                               .masks = {0xFF0000, 0xFF00, 0xFF}},
                                              std::vector<std::uint8_t>(80));
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"a depth of 5 bits", withField(plain, 28, 2, 5)},
      {"24 bits with masks", withField(plain, 30, 4, 3)},
      {"RLE8 of 4-bit pixels", withField(withField(plain, 28, 2, 4), 30, 4, 1)},
      {"CMYK", withField(plain, 30, 4, 11)},
      {"OS/2's Huffman coding", withField(withField(withField(plain, 14, 4, 64), 28, 2, 1), 30, 4, 3)},
      {"masks in pieces", withField(masks, 54, 4, 0xF0F000)},
      {"a mask of 17 bits", withField(masks, 54, 4, 0xFFFF8000)},
      {"no colour masks", withField(withField(withField(masks, 54, 4, 0), 58, 4, 0), 62, 4, 0)},
      {"a header of 8 bytes", withField(plain, 14, 4, 8)},
      {"no width", withField(plain, 18, 4, 0)},
      {"negative width", withField(plain, 18, 4, 0xFFFFFFFB)},
      {"no height", withField(plain, 22, 4, 0)},
      {"pixels inside the header", withField(plain, 10, 4, 40)},
      {"run lengths that start past the end", withField(withField(withField(plain, 28, 2, 8), 30, 4, 1), 10, 4, 200)},
      {"not a bitmap", withField(plain, 0, 2, 0x5050)},
      {"cut inside the header", std::vector<std::uint8_t>(plain.begin(), plain.begin() + 49)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(layoutOf(c.bytes).has_value()) << c.name;
  }
}

TEST(BmpLayoutTest, TakesPaletteColoursUpToThePixelsAndNoFurtherThanTheFile) {
  // Counted as 300 but followed by the pixels after 3: the 3 are the palette.
  const auto bytes = testing_support::bmpFile(
      {.width = 3, .bitsPerPixel = 8, .palette = {kPalette[0], kPalette[1], kPalette[2]}, .counted = 300},
      {0, 1, 2, 0});
  const auto layout = layoutOf(bytes);
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->palette[2], (Bgra{90, 80, 70, 255}));
  EXPECT_EQ(layout->palette[3], (Bgra{0, 0, 0, 255}));
  // Pixels said to lie far past the end: the palette runs to the end of the file, the rest black.
  const auto far = layoutOf(withField(bytes, 10, 4, 5000));
  ASSERT_TRUE(far.has_value());
  EXPECT_EQ(far->palette[2], (Bgra{90, 80, 70, 255}));
  EXPECT_EQ(far->palette[3], (Bgra{0, 1, 2, 255}));  // the pixels' bytes, taken as a colour
  EXPECT_EQ(far->palette[4], (Bgra{0, 0, 0, 255}));
  EXPECT_TRUE(readWhole(withField(bytes, 10, 4, 5000)).empty());
}

// Every pixel of its own colour, so that a pixel put in the wrong place shows.
Rgb colourAt(int x, int y) {
  return Rgb{static_cast<std::uint8_t>(10 * x + y), static_cast<std::uint8_t>(100 + x),
             static_cast<std::uint8_t>(200 + y)};
}

TEST(BmpReaderTest, ReadsAnyAreaAtEachDepthAndRowOrder) {
  // 9 x 4: 1-bit rows cross a byte, 4-bit and 24-bit ones are padded.
  constexpr int kWidth = 9;
  const auto index = [](int x, int y) { return std::uint64_t((x + 3 * y) % 2); };
  const auto paletted = [&](int bits) {
    return [&, bits](int x, int y) { return bits == 1 ? index(x, y) : std::uint64_t((x + 3 * y) % 4); };
  };
  const std::vector<Rgb> four{colourAt(0, 0), colourAt(1, 0), colourAt(2, 0), colourAt(3, 0)};
  const auto bgr = [](int x, int y) {
    const Rgb c = colourAt(x, y);
    return std::uint64_t{c.b} | std::uint64_t{c.g} << 8 | std::uint64_t{c.r} << 16;
  };
  const struct {
    const char* name;
    BmpHeader header;
    std::function<std::uint64_t(int, int)> value;
    std::function<Rgb(int, int)> colour;
  } storages[] = {
      {"1 bit",
       {.width = kWidth, .height = 4, .bitsPerPixel = 1, .palette = {four[0], four[1]}},
       paletted(1),
       [&](int x, int y) { return four[index(x, y)]; }},
      {"4 bits, top-down",
       {.width = kWidth, .height = -4, .bitsPerPixel = 4, .palette = four},
       paletted(4),
       [&](int x, int y) { return four[std::size_t((x + 3 * y) % 4)]; }},
      {"24 bits", {.width = kWidth, .height = 4}, bgr, colourAt},
      {"24 bits, top-down", {.width = kWidth, .height = -4}, bgr, colourAt},
      {"32 bits, top-down", {.width = kWidth, .height = -4, .bitsPerPixel = 32}, bgr, colourAt},
  };
  const PixelArea areas[] = {{0, 0, 9, 4}, {0, 0, 2, 1}, {7, 3, 2, 1}, {1, 1, 3, 2},
                             {0, 1, 9, 2}, {3, 0, 1, 4}, {5, 2, 4, 2}};
  for (const auto& storage : storages) {
    const bool topDown = storage.header.height < 0;
    const auto bytes = testing_support::bmpFile(
        storage.header, storedRows(kWidth, 4, storage.header.bitsPerPixel, topDown, storage.value));
    for (const PixelArea& area : areas) {
      SCOPED_TRACE(std::string(storage.name) + " at " + std::to_string(area.left) + "," + std::to_string(area.top) +
                   " " + std::to_string(area.width) + "x" + std::to_string(area.height));
      std::vector<Rgb> expected;
      for (std::uint32_t y = area.top; y < area.top + area.height; ++y) {
        for (std::uint32_t x = area.left; x < area.left + area.width; ++x)
          expected.push_back(storage.colour(int(x), int(y)));
      }
      EXPECT_EQ(readArea(bytes, area), expected);
    }
  }
}

TEST(BmpReaderTest, ReadsOnlyTheAreasSpansInFileOrderAndWholeRowsAtOnce) {
  // 5 x 4 at 24 bits: rows of 16 bytes from offset 54; bottom-up, the picture's row 3 is stored first.
  // At 4 bits, rows of 4 bytes: pixels 1 to 3 lie in bytes 0 and 1.
  const struct {
    const char* name;
    int bits;
    bool topDown;
    PixelArea area;
    std::vector<Read> reads;
  } cases[] = {
      {"a span of two rows, bottom-up", 24, false, {2, 1, 2, 2}, {{54 + 16 + 6, 6}, {54 + 32 + 6, 6}}},
      {"a span of two rows, top-down", 24, true, {2, 1, 2, 2}, {{54 + 16 + 6, 6}, {54 + 32 + 6, 6}}},
      {"the last pixel", 24, false, {4, 3, 1, 1}, {{54 + 12, 3}}},
      {"whole rows, bottom-up", 24, false, {0, 1, 5, 2}, {{54 + 16, 32}}},
      {"whole rows, top-down", 24, true, {0, 0, 5, 3}, {{54, 48}}},
      {"half bytes", 4, false, {1, 0, 3, 1}, {{118 + 12, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bytes = testing_support::bmpFile({.width = 5,
                                                 .height = c.topDown ? -4 : 4,
                                                 .bitsPerPixel = c.bits,
                                                 .palette = c.bits == 4 ? std::vector<Rgb>(16) : std::vector<Rgb>{}},
                                                storedRows(5, 4, c.bits, c.topDown, [](int, int) { return 0; }));
    const auto layout = layoutOf(bytes);
    ASSERT_TRUE(layout.has_value());
    const MemoryBytes file(bytes);
    ByteReader reader(file);
    std::vector<Bgra> out(std::size_t{c.area.width} * c.area.height);
    ASSERT_TRUE(readBmpArea(reader, *layout, c.area, out, kOverBlack));
    EXPECT_EQ(file.reads(), c.reads);
  }
}

TEST(BmpReaderTest, RefusesAnAreaThatDoesNotFitAndAnUncompressedFileCutShortWithoutReading) {
  const auto whole = testing_support::bmpBytes(5, 4, colourAt);
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    PixelArea area;
    std::size_t outPixels;
  } cases[] = {
      {"past the right edge", whole, {3, 0, 3, 1}, 3},
      {"past the bottom", whole, {0, 2, 5, 3}, 15},
      {"empty", whole, {0, 0, 0, 4}, 0},
      {"a side beyond 32 bits' sum", whole, {0xFFFFFFFF, 0, 2, 1}, 2},
      {"not the area's size", whole, {0, 0, 5, 4}, 19},
      {"cut inside the last stored row", std::vector<std::uint8_t>(whole.begin(), whole.end() - 1), {0, 0, 5, 1}, 5},
      {"pixels past the end", withField(whole, 10, 4, 0xFFFFFF00), {0, 0, 5, 4}, 20},
      {"taller than its rows", withField(whole, 22, 4, 4000), {1, 3990, 3, 10}, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto layout = layoutOf(c.bytes);
    ASSERT_TRUE(layout.has_value());
    const MemoryBytes file(c.bytes);
    ByteReader reader(file);
    std::vector<Bgra> out(c.outPixels);
    EXPECT_FALSE(readBmpArea(reader, *layout, c.area, out, kOverBlack));
    EXPECT_TRUE(file.reads().empty());
  }
}

TEST(BmpReaderTest, DecodesRunLengthsOnlyAsFarAsTheAreasLastRow) {
  // 4 x 3, bottom-up: the area of the bottom row needs only the codes of the first stored row.
  const auto bytes = runLengths(8, 1, {4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 1});
  const auto layout = layoutOf(bytes);
  ASSERT_TRUE(layout.has_value());
  const MemoryBytes file(bytes);
  ByteReader reader(file);
  std::vector<Bgra> out(4);
  ASSERT_TRUE(readBmpArea(reader, *layout, {0, 2, 4, 1}, out, kOverBlack));
  EXPECT_EQ(out[0], (Bgra{60, 50, 40, 255}));
  // One block of codes is read, from the start of the data to its end (12 bytes) and no further.
  EXPECT_EQ(file.reads(), (std::vector<Read>{{70, 12}}));
}

TEST(PictureHeaderTest, SendsAJpegOrPngInsideABitmapToItsDecoderAndJudgesBitmapsByTheLimit) {
  testing_support::Bytes jpeg;
  jpeg.raw({0xFF, 0xD8, 0xFF, 0xC0}).be(2 + 6, 2).raw({8}).be(30, 2).be(40, 2).raw({3});
  const auto inside =
      testing_support::bmpFile({.width = 40, .height = 30, .bitsPerPixel = 0, .compression = 4}, jpeg.data);
  const MemoryBytes file(inside);
  ByteReader reader(file);
  const auto header = readPictureHeader(reader);
  ASSERT_TRUE(header.has_value());
  const auto* input = std::get_if<DecoderInput>(&*header);
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(input->format, DecoderInput::Format::Jpeg);
  EXPECT_EQ(input->offset, 54u);
  EXPECT_EQ(input->length, jpeg.data.size());
  EXPECT_EQ(input->declared, (DeclaredFrame{40, 30, 24}));
  EXPECT_EQ(file.readsOutside(), 0u);

  const auto judged = [](const std::vector<std::uint8_t>& bytes) {
    const MemoryBytes source(bytes);
    ByteReader bytesReader(source);
    const auto read = readPictureHeader(bytesReader);
    return read && std::holds_alternative<BmpLayout>(*read);
  };
  // Not a JPEG after all: refused, not sent to any decoder.
  const auto notJpeg = withField(inside, 54, 2, 0x0000);
  const MemoryBytes notJpegFile(notJpeg);
  ByteReader notJpegReader(notJpegFile);
  EXPECT_FALSE(readPictureHeader(notJpegReader).has_value());
  // 1 GiB at the frame's depth: 16384 x 16384 at 32 bits is the limit, run lengths count as 32 bits.
  const auto rle = testing_support::bmpFile(
      {.width = 16384, .height = 16384, .bitsPerPixel = 8, .compression = 1, .palette = kPalette}, {0, 1});
  EXPECT_TRUE(judged(rle));
  EXPECT_FALSE(judged(withField(rle, 22, 4, 16385)));
  EXPECT_TRUE(judged(withField(withField(withField(rle, 28, 2, 32), 30, 4, 0), 10, 4, 70)));
  EXPECT_FALSE(judged(withField(withField(withField(withField(rle, 28, 2, 64), 30, 4, 0), 10, 4, 70), 18, 4, 8193)));
}

}  // namespace
}  // namespace slidewell::picture

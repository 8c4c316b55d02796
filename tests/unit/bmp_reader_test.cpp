#include "picture/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "bmp_kinds.h"
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
const std::vector<Rgb>& kPalette = testing_support::bmpKindPalette();

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

TEST(BmpReaderTest, ReadsEveryKindToThePixelsItStores) {
  for (const auto& kind : testing_support::everyBmpKind()) {
    EXPECT_EQ(readWhole(kind.bytes), kind.pixels) << kind.name;
  }
}

std::vector<std::uint8_t> withField(std::vector<std::uint8_t> bytes, std::size_t offset, std::size_t size,
                                    std::uint32_t value) {
  for (std::size_t i = 0; i < size; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

TEST(BmpReaderTest, DamagedVariantsOfEveryKindShowWhatTheyHoldOrNothingAndReadNothingOutsideTheFile) {
  std::vector<testing_support::BmpKind> kinds = testing_support::everyBmpKind();
  for (auto& kind : testing_support::everyRunLengthKind()) kinds.push_back(std::move(kind));
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.name);
    const auto layout = layoutOf(kind.bytes);
    ASSERT_TRUE(layout.has_value());
    const bool coded = layout->coding != BmpCoding::Plain;
    const std::vector<std::uint8_t> cut(kind.bytes.begin(), kind.bytes.end() - 1);
    // Uncompressed, a file shorter than its rows shows nothing; coded, the codes it still holds (here
    // all but the last byte of the end, or of data that ends early anyway) show as they did.
    EXPECT_EQ(readWhole(cut), coded ? kind.pixels : std::vector<Rgb>{});
    EXPECT_FALSE(layoutOf(std::vector<std::uint8_t>(kind.bytes.begin(), kind.bytes.begin() + 20)).has_value());
    // Pixels said to begin past the end, or inside the headers.
    const auto past = withField(kind.bytes, 10, 4, static_cast<std::uint32_t>(kind.bytes.size()));
    EXPECT_EQ(layoutOf(past).has_value(), !coded);
    EXPECT_TRUE(readWhole(past).empty());
    EXPECT_FALSE(layoutOf(withField(kind.bytes, 10, 4, 16)).has_value());
    if (kind.bytes[14] < 40) continue;  // OS/2 headers this short have no more fields
    // Colours and image bytes counted far beyond the file change nothing.
    EXPECT_EQ(readWhole(withField(kind.bytes, 46, 4, 0xFFFFFFFF)), kind.pixels);
    EXPECT_EQ(readWhole(withField(kind.bytes, 34, 4, 0xFFFFFFF0)), kind.pixels);
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

TEST(BmpReaderTest, DecodesRunLengthsWithMovesAndEarlyEndsLeavingWhatTheySkipBlack) {
  for (const auto& kind : testing_support::everyRunLengthKind()) {
    EXPECT_EQ(readWhole(kind.bytes), kind.pixels) << kind.name;
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
  const auto bytes = testing_support::runLengthBmp(8, 1, {4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 1});
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

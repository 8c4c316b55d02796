#include "picture/bitmap_rows.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "memory_bytes.h"

namespace slidewell::picture {
namespace {

using testing_support::BmpStorage;
using testing_support::MemoryBytes;
using testing_support::Rgb;
using Read = MemoryBytes::Read;

// Every pixel of its own colour, so that a pixel put in the wrong place shows.
Rgb colourAt(int x, int y) {
  return Rgb{static_cast<std::uint8_t>(10 * x + y), static_cast<std::uint8_t>(100 + x),
             static_cast<std::uint8_t>(200 + y)};
}

std::vector<std::uint8_t> fiveByFour(const BmpStorage& storage) {
  return testing_support::bmpBytes(5, 4, storage, colourAt);
}

std::vector<std::uint8_t> withField(std::vector<std::uint8_t> bytes, std::size_t offset, std::size_t size,
                                    std::uint32_t value) {
  for (std::size_t i = 0; i < size; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

BitmapLayout layoutOf(const std::vector<std::uint8_t>& bytes) {
  const auto layout = readBitmapLayout(MemoryBytes(bytes));
  EXPECT_TRUE(layout.has_value());
  return layout.value_or(BitmapLayout{});
}

TEST(BitmapLayoutTest, ReadsWhereEachStoredKindKeepsItsRows) {
  const struct {
    const char* name;
    BmpStorage storage;
    std::uint32_t bits;
    bool topDown;
    std::uint64_t pixelOffset;
    std::uint64_t stride;
    std::uint64_t dataEnd;
  } cases[] = {
      {"24-bit, bottom-up, rows padded", {24, false}, 24, false, 54, 16, 54 + 4 * 16},
      {"24-bit, top-down", {24, true}, 24, true, 54, 16, 54 + 4 * 16},
      {"32-bit, version 5 header", {32, false, false, 124}, 32, false, 138, 20, 138 + 4 * 20},
      {"32-bit masks after the header", {32, true, true, 40}, 32, true, 66, 20, 66 + 4 * 20},
      {"32-bit masks inside a version 4 header", {32, false, true, 108}, 32, false, 122, 20, 122 + 4 * 20},
      {"8-bit, 20 colours", {8, false}, 8, false, 54 + 20 * 4, 8, 134 + 4 * 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BitmapLayout layout = layoutOf(fiveByFour(c.storage));
    EXPECT_EQ(layout.width, 5u);
    EXPECT_EQ(layout.height, 4u);
    EXPECT_EQ(layout.bitsPerPixel, c.bits);
    EXPECT_EQ(layout.topDown, c.topDown);
    EXPECT_EQ(layout.pixelOffset, c.pixelOffset);
    EXPECT_EQ(layout.stride, c.stride);
    EXPECT_EQ(layout.dataEnd(), c.dataEnd);
    EXPECT_EQ(layout.rowOffset(0), c.pixelOffset + (c.topDown ? 0 : 3 * c.stride));
  }
}

TEST(BitmapLayoutTest, LeavesEveryOtherBitmapToTheDecoder) {
  const auto plain = fiveByFour({24});
  const auto masks = fiveByFour({32, false, true, 108});
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"run-length coded", withField(plain, 30, 4, 1)},
      {"JPEG inside", withField(plain, 30, 4, 4)},
      {"16 bits", withField(plain, 28, 2, 16)},
      {"4 bits", withField(plain, 28, 2, 4)},
      {"24 bits with masks", withField(plain, 30, 4, 3)},
      {"masks in RGB order", withField(withField(masks, 54, 4, 0xFF), 62, 4, 0xFF0000)},
      {"masks with alpha", withField(masks, 66, 4, 0xFF000000)},
      {"core header", withField(plain, 14, 4, 12)},
      {"version 2 header", withField(plain, 14, 4, 52)},
      {"OS/2 header", withField(plain, 14, 4, 64)},
      {"no width", withField(plain, 18, 4, 0)},
      {"negative width", withField(plain, 18, 4, 0xFFFFFFFB)},
      {"no height", withField(plain, 22, 4, 0)},
      {"not a bitmap", withField(plain, 0, 2, 0x5050)},
      {"cut inside the header", std::vector<std::uint8_t>(plain.begin(), plain.begin() + 49)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(readBitmapLayout(MemoryBytes(c.bytes)).has_value()) << c.name;
  }
}

TEST(BitmapLayoutTest, GivesPaletteColoursOpaqueAndIndicesPastThemBlack) {
  // Three colours counted, the fourth slot past the count.
  const auto bytes = withField(testing_support::bmpBytes(3, 1, {8}, colourAt), 46, 4, 3);
  const BitmapLayout layout = layoutOf(bytes);
  using Pixel = std::array<std::uint8_t, 4>;
  EXPECT_EQ(layout.palette[0], (Pixel{200, 100, 0, 255}));
  EXPECT_EQ(layout.palette[2], (Pixel{200, 102, 20, 255}));
  EXPECT_EQ(layout.palette[3], (Pixel{0, 0, 0, 255}));
  EXPECT_EQ(layout.paletteEnd, 54u + 3 * 4);
  // Counting none means all 256, which this short file does not hold.
  EXPECT_GT(layoutOf(withField(bytes, 46, 4, 0)).dataEnd(), bytes.size());
}

// The bytes `area` of the 5 x 4 picture shows as, row after row `stride` apart, at the shown depth.
std::vector<std::uint8_t> expectedArea(const PixelArea& area, const BmpStorage& storage, std::size_t stride) {
  std::vector<std::uint8_t> out(stride * area.height, 0xEE);
  const bool fourBytes = storage.bitsPerPixel != 24;
  for (std::uint32_t y = 0; y < area.height; ++y) {
    std::uint8_t* pixel = out.data() + y * stride;
    for (std::uint32_t x = 0; x < area.width; ++x) {
      const Rgb c = colourAt(static_cast<int>(area.left + x), static_cast<int>(area.top + y));
      *pixel++ = c.b;
      *pixel++ = c.g;
      *pixel++ = c.r;
      if (fourBytes) *pixel++ = storage.bitsPerPixel == 8 ? 255 : storage.fourthByte;
    }
  }
  return out;
}

TEST(BitmapRowsTest, CopiesAnyAreaAtEachDepthAndRowOrder) {
  const BmpStorage storages[] = {{24, false}, {24, true}, {32, false, false, 40, 0x5A}, {32, true, true, 124, 0x00},
                                 {8, false},  {8, true}};
  const PixelArea areas[] = {{0, 0, 5, 4}, {0, 0, 2, 1}, {3, 3, 2, 1}, {1, 1, 3, 2}, {0, 1, 5, 2}, {4, 0, 1, 4}};
  for (const BmpStorage& storage : storages) {
    const auto bytes = fiveByFour(storage);
    const BitmapLayout layout = layoutOf(bytes);
    for (const PixelArea& area : areas) {
      SCOPED_TRACE(std::to_string(storage.bitsPerPixel) + (storage.topDown ? " top-down" : " bottom-up") + " at " +
                   std::to_string(area.left) + "," + std::to_string(area.top) + " " + std::to_string(area.width) + "x" +
                   std::to_string(area.height));
      // A DIB's stride: every row padded to 4 bytes.
      const std::size_t stride = (area.width * layout.shownBitsPerPixel() / 8 + 3) / 4 * 4;
      std::vector<std::uint8_t> out(stride * area.height, 0xEE);
      ASSERT_TRUE(readBitmapArea(MemoryBytes(bytes), layout, area, out, stride));
      const auto expected = expectedArea(area, storage, stride);
      for (std::uint32_t y = 0; y < area.height; ++y) {
        const std::size_t shown = area.width * layout.shownBitsPerPixel() / 8;
        EXPECT_TRUE(std::equal(out.begin() + static_cast<std::ptrdiff_t>(y * stride),
                               out.begin() + static_cast<std::ptrdiff_t>(y * stride + shown),
                               expected.begin() + static_cast<std::ptrdiff_t>(y * stride)))
            << "row " << y;
      }
    }
  }
}

TEST(BitmapRowsTest, ReadsOnlyTheAreasSpansInFileOrderAndWholeRowsAtOnce) {
  // 5 x 4 at 24 bits: rows of 16 bytes from offset 54; bottom-up, the picture's row 3 is stored first.
  const struct {
    const char* name;
    bool topDown;
    PixelArea area;
    std::vector<Read> reads;
  } cases[] = {
      {"a span of two rows, bottom-up", false, {2, 1, 2, 2}, {{54 + 16 + 6, 6}, {54 + 32 + 6, 6}}},
      {"a span of two rows, top-down", true, {2, 1, 2, 2}, {{54 + 16 + 6, 6}, {54 + 32 + 6, 6}}},
      {"the last pixel", false, {4, 3, 1, 1}, {{54 + 12, 3}}},
      {"whole rows, bottom-up", false, {0, 1, 5, 2}, {{54 + 16, 32}}},
      {"whole rows, top-down", true, {0, 0, 5, 3}, {{54, 48}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bytes = fiveByFour({24, c.topDown});
    const MemoryBytes file(bytes);
    std::vector<std::uint8_t> out(16 * 4);
    ASSERT_TRUE(readBitmapArea(file, layoutOf(bytes), c.area, out, (c.area.width * 3 + 3) / 4 * 4));
    EXPECT_EQ(file.reads(), c.reads);
  }
}

TEST(BitmapRowsTest, RefusesWhatDoesNotFitWithoutReading) {
  const auto bytes = fiveByFour({24});
  const BitmapLayout layout = layoutOf(bytes);
  std::vector<std::uint8_t> out(16 * 4);
  const struct {
    const char* name;
    PixelArea area;
    std::size_t outBytes;
    std::size_t stride;
  } cases[] = {
      {"past the right edge", {3, 0, 3, 1}, 64, 16},
      {"past the bottom", {0, 2, 5, 3}, 64, 16},
      {"empty", {0, 0, 0, 4}, 64, 16},
      {"a side beyond 32 bits' sum", {0xFFFFFFFF, 0, 2, 1}, 64, 16},
      {"a row narrower than the span", {0, 0, 5, 1}, 64, 12},
      {"too few bytes for the rows", {0, 0, 5, 4}, 62, 16},
  };
  for (const auto& c : cases) {
    const MemoryBytes file(bytes);
    EXPECT_FALSE(readBitmapArea(file, layout, c.area, std::span(out).first(c.outBytes), c.stride)) << c.name;
    EXPECT_TRUE(file.reads().empty()) << c.name;
  }
}

TEST(BitmapRowsTest, AFileEndingEarlyFailsAtItsEndWithoutReadingOn) {
  // Headers that claim more than the file holds: rows past its end, pixels far beyond it.
  const auto whole = fiveByFour({24});
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    PixelArea area;
  } cases[] = {
      {"cut inside the last stored row", std::vector<std::uint8_t>(whole.begin(), whole.end() - 1), {0, 0, 5, 4}},
      {"cut after the first stored row", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 70), {1, 0, 2, 4}},
      {"pixels past the end", withField(whole, 10, 4, 0xFFFFFF00), {0, 0, 5, 4}},
      {"taller than its rows", withField(whole, 22, 4, 4000), {1, 3990, 3, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BitmapLayout layout = layoutOf(c.bytes);
    const MemoryBytes file(c.bytes);
    std::vector<std::uint8_t> out(16 * 10);
    EXPECT_FALSE(readBitmapArea(file, layout, c.area, out, (c.area.width * 3 + 3) / 4 * 4));
    ASSERT_FALSE(file.reads().empty());
    for (std::size_t i = 0; i + 1 < file.reads().size(); ++i) {
      EXPECT_LE(file.reads()[i].offset + file.reads()[i].size, c.bytes.size());
    }
  }
}

}  // namespace
}  // namespace slidewell::picture

#include "picture/picture_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bytes_builder.h"
#include "memory_bytes.h"
#include "picture/bmp_header.h"
#include "png_file.h"

namespace slidewell::picture {
namespace {

using testing_support::Bytes;

std::optional<DeclaredFrame> declared(const std::vector<std::uint8_t>& bytes) {
  const testing_support::MemoryBytes file(bytes);
  ByteReader reader(file);
  const auto frame = readDeclaredFrame(reader);
  EXPECT_EQ(file.readsOutside(), 0u);
  return frame;
}

Bytes bmpInfo(std::int32_t width, std::int32_t height, int bits, int compression) {
  Bytes b;
  b.text("BM").le(0, 4).le(0, 4).le(54, 4);
  b.le(40, 4).le(static_cast<std::uint32_t>(width), 4).le(static_cast<std::uint32_t>(height), 4).le(1, 2).le(bits, 2);
  b.le(static_cast<std::uint32_t>(compression), 4).zeros(20);
  return b;
}

// A classic TIFF whose one directory gives the width, the length and three 16-bit samples a pixel
// (bits per sample stored beyond the directory, as three values do not fit in an entry).
Bytes tiff(bool bigEndian, std::uint32_t width, std::uint32_t height) {
  Bytes b;
  b.text(bigEndian ? "MM" : "II").number(42, 2, bigEndian).number(8, 4, bigEndian);
  b.number(4, 2, bigEndian);
  b.number(256, 2, bigEndian).number(4, 2, bigEndian).number(1, 4, bigEndian).number(width, 4, bigEndian);
  b.number(257, 2, bigEndian).number(3, 2, bigEndian).number(1, 4, bigEndian).number(height, 2, bigEndian).zeros(2);
  b.number(258, 2, bigEndian).number(3, 2, bigEndian).number(3, 4, bigEndian).number(62, 4, bigEndian);
  b.number(277, 2, bigEndian).number(3, 2, bigEndian).number(1, 4, bigEndian).number(3, 2, bigEndian).zeros(2);
  b.number(0, 4, bigEndian);  // no next directory; offset 62 follows
  b.number(16, 2, bigEndian).number(16, 2, bigEndian).number(16, 2, bigEndian);
  return b;
}

TEST(PictureHeaderTest, ReadsAPngsSizeFromItsHeaderAlone) {
  const auto bytes = testing_support::blackPngBytes(20000, 20000);
  const testing_support::MemoryBytes file(bytes);
  ByteReader reader(file);
  EXPECT_EQ(readDeclaredFrame(reader), (DeclaredFrame{20000, 20000, 24}));
  EXPECT_LE(file.bytesRead(), ByteReader::kBlockBytes);  // one block of a file of megabytes
  // RGBA at 16 bits; a palette of 4-bit indices.
  auto rgba = testing_support::blackPngBytes(3, 2);
  rgba[24] = 16;
  rgba[25] = 6;
  EXPECT_EQ(declared(rgba), (DeclaredFrame{3, 2, 64}));
  rgba[24] = 4;
  rgba[25] = 3;
  EXPECT_EQ(declared(rgba), (DeclaredFrame{3, 2, 4}));
}

TEST(PictureHeaderTest, ReadsAGifsFirstImagePastItsPaletteAndExtensions) {
  Bytes b;
  b.text("GIF89a").le(100, 2).le(80, 2).raw({0x81, 0, 0}).zeros(12);  // 4-colour global palette
  b.raw({0x21, 0xF9, 4, 0, 0, 0, 0, 0});                              // graphic control
  b.raw({0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0});              // a comment in two sub-blocks
  b.raw({0x2C}).le(10, 2).le(5, 2).le(60, 2).le(40, 2).raw({0});
  EXPECT_EQ(declared(b.data), (DeclaredFrame{60, 40, 8}));
}

TEST(PictureHeaderTest, ReadsTiffsInEitherByteOrderAndBigTiff) {
  EXPECT_EQ(declared(tiff(false, 70000, 300).data), (DeclaredFrame{70000, 300, 48}));
  EXPECT_EQ(declared(tiff(true, 70000, 300).data), (DeclaredFrame{70000, 300, 48}));

  Bytes big;
  big.text("II").le(43, 2).le(8, 2).le(0, 2).le(16, 8);
  big.le(2, 8);
  big.le(256, 2).le(16, 2).le(1, 8).le(5000000000, 8);  // LONG8
  big.le(257, 2).le(3, 2).le(1, 8).le(7, 8);
  big.le(0, 8);
  EXPECT_EQ(declared(big.data), (DeclaredFrame{5000000000, 7, 1}));
}

TEST(PictureHeaderTest, FindsAJpegsFrameBehindOtherSegmentsWithoutReadingThem) {
  Bytes b;
  b.raw({0xFF, 0xD8});
  b.raw({0xFF, 0xE1}).be(2 + 60000, 2).text("Exif").zeros(60000 - 4);                // EXIF, its thumbnail skipped
  b.raw({0xFF, 0xC4}).be(2 + 3, 2).zeros(3);                                         // DHT, not a frame
  b.raw({0xFF, 0xCC}).be(2 + 2, 2).zeros(2);                                         // DAC, not a frame
  b.raw({0xFF, 0xFF, 0xC2}).be(2 + 6, 2).raw({8}).be(1080, 2).be(1920, 2).raw({3});  // after a fill byte
  const testing_support::MemoryBytes file(b.data);
  ByteReader reader(file);
  EXPECT_EQ(readDeclaredFrame(reader), (DeclaredFrame{1920, 1080, 24}));
  EXPECT_LE(file.bytesRead(), 2 * ByteReader::kBlockBytes);  // the block at the start, the one at the frame
}

// A bitmap's size, and the depth at which the limit judges it.
std::optional<DeclaredFrame> bitmapFrame(const std::vector<std::uint8_t>& bytes) {
  const testing_support::MemoryBytes file(bytes);
  ByteReader reader(file);
  const auto layout = readBmpLayout(reader);
  if (!layout) return std::nullopt;
  return DeclaredFrame{layout->width, layout->height, layout->frameBitsPerPixel()};
}

TEST(PictureHeaderTest, ReadsBitmapHeadersOfEachKind) {
  EXPECT_EQ(bitmapFrame(bmpInfo(30, 20, 24, 0).data), (DeclaredFrame{30, 20, 24}));
  EXPECT_EQ(bitmapFrame(bmpInfo(30, -20, 8, 0).data), (DeclaredFrame{30, 20, 8}));  // top-down
  EXPECT_EQ(bitmapFrame(bmpInfo(30, -2147483647 - 1, 1, 0).data), (DeclaredFrame{30, 2147483648u, 1}));
  EXPECT_EQ(bitmapFrame(bmpInfo(30, 20, 8, 1).zeros(2).data), (DeclaredFrame{30, 20, 32}));  // run lengths, expanded
  Bytes core;
  core.text("BM").zeros(4).zeros(4).le(26, 4).le(12, 4).le(640, 2).le(480, 2).le(1, 2).le(4, 2);
  EXPECT_EQ(bitmapFrame(core.data), (DeclaredFrame{640, 480, 4}));
}

TEST(PictureHeaderTest, LeavesOtherFormatsAndBrokenHeadersToTheDecoder) {
  const auto png = testing_support::blackPngBytes(3, 2);
  for (const auto& bytes : {
           std::vector<std::uint8_t>{},
           Bytes().text("RIFF....WEBPVP8 ").data,                                 // another format
           std::vector<std::uint8_t>(png.begin(), png.begin() + 20),              // cut in its header
           Bytes().raw({0xFF, 0xD8, 0xFF, 0xDA}).be(8, 2).zeros(6).data,          // a scan before any frame
           Bytes().raw({0xFF, 0xD8, 0xFF, 0xE0}).be(1, 2).data,                   // a segment length below 2
           bmpInfo(-30, 20, 24, 0).data,                                          // negative width
           bmpInfo(30, 20, 0, 5).data,                                            // a PNG inside a bitmap
           Bytes().text("II").le(42, 2).le(1u << 30, 4).data,                     // a directory beyond the end
           Bytes().text("GIF87a").le(10, 2).le(10, 2).raw({0, 0, 0, 0x3B}).data,  // no image at all
       }) {
    EXPECT_EQ(declared(bytes), std::nullopt);
  }
}

TEST(DecoderLimit, JudgesAPictureByWhatTheDecoderMustHoldOfIt) {
  // Sides that a WICRect cannot name, or a frame beyond the decoder's reach (1 GiB), are refused.
  EXPECT_FALSE(decoderCanHold(std::uint64_t{2147483648}, 1, 1));
  EXPECT_FALSE(decoderCanHold(0, 10, 24));
  EXPECT_TRUE(decoderCanHold(357913941, 1, 24));
  EXPECT_FALSE(decoderCanHold(357913942, 1, 24));
  EXPECT_TRUE(decoderCanHold(1, 268435456, 32));
  EXPECT_FALSE(decoderCanHold(1, 268435457, 32));
  EXPECT_FALSE(decoderCanHold(2147483647, 2147483647, 128));  // a product beyond 64 bits must not wrap round
}

}  // namespace
}  // namespace slidewell::picture

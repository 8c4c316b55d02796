#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_kinds.h"
#include "memory_bytes.h"
#include "picture/bmp_reader.h"

namespace slidewell::picture {
namespace {

using testing_support::Rgb;

// What ImageMagick's `convert` makes of a file, laid over black, as 8-bit RGB top row first; empty
// when it cannot read it.
std::vector<Rgb> referencePixels(const std::vector<std::uint8_t>& bytes, const std::filesystem::path& folder) {
  const auto in = folder / "in.bmp";
  const auto out = folder / "out.rgb";
  std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  std::filesystem::remove(out);
  const std::string command =
      "convert '" + in.string() + "' -background black -flatten -depth 8 'rgb:" + out.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream file(out, std::ios::binary);
  const std::vector<char> rgb((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<Rgb> pixels;
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    pixels.push_back(Rgb{static_cast<std::uint8_t>(rgb[i]), static_cast<std::uint8_t>(rgb[i + 1]),
                         static_cast<std::uint8_t>(rgb[i + 2])});
  }
  return pixels;
}

std::vector<Rgb> ourPixels(const std::vector<std::uint8_t>& bytes) {
  const testing_support::MemoryBytes file(bytes);
  ByteReader reader(file);
  const auto layout = readBmpLayout(reader);
  if (!layout) return {};
  std::vector<Bgra> out(std::size_t{layout->width} * layout->height);
  if (!readBmpArea(reader, *layout, {0, 0, layout->width, layout->height}, out, Bgra{0, 0, 0, 255})) return {};
  std::vector<Rgb> pixels;
  for (const Bgra& p : out) pixels.push_back(Rgb{p.r, p.g, p.b});
  return pixels;
}

class BmpReferenceTest : public testing::Test {
 protected:
  void SetUp() override {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
    folder_ = std::filesystem::temp_directory_path() / ("slidewell-bmp-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

// A value for each pixel that looks like noise, the same in every run.
std::uint32_t noise(int x, int y) {
  std::uint32_t v = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
  v ^= v >> 13;
  v *= 0x5BD1E995u;
  return v ^ v >> 15;
}

std::vector<Rgb> noisePalette(int count) {
  std::vector<Rgb> palette;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t v = noise(i, 1000);
    palette.push_back(
        Rgb{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16)});
  }
  return palette;
}

// 37 x 23 pictures (odd, so rows are padded) of every kind that ImageMagick 6 reads by the same rules
// as this reader. It reads the others by rules of its own, or not at all, and the kinds' literal tests
// pin those: it widens fields of other widths than 5, 6 and 8 bits by shifting them (3 of 2 bits
// is 192, not 255), finds no masks in 52- and 56-byte headers, colours what run-length moves skip with
// the palette's first colour instead of black, takes OS/2 2.x colours as 3 bytes, and reads no 2-bit,
// 64-bit, RLE24 or BI_ALPHABITFIELDS file, no OS/2 2.x header and no palette counted past its depth.
struct CrossChecked {
  const char* name;
  std::vector<std::uint8_t> bytes;
  int tolerance;  // per channel
};

std::vector<CrossChecked> crossCheckedKinds() {
  using testing_support::bmpFile;
  using testing_support::storedRows;
  constexpr int kW = 37;
  constexpr int kH = 23;
  const auto rows = [](int bits, bool topDown, auto value) {
    return storedRows(kW, kH, bits, topDown, [value](int x, int y) { return std::uint64_t{value(x, y)}; });
  };
  const auto index = [](int bits) { return [bits](int x, int y) { return noise(x, y) % (1u << bits); }; };
  const auto any = [](int x, int y) { return noise(x, y); };
  const auto opaque = [](int x, int y) { return noise(x, y) & 0xFFFFFF; };
  // Runs of one index now and then, so that run-length codes have both runs and literals.
  const auto runs = [](int bits) { return [bits](int x, int y) { return int(noise(x / 5, y) % (1u << bits)); }; };
  return {
      {"1 bit",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 1, .palette = noisePalette(2)}, rows(1, false, index(1))),
       0},
      {"1 bit, top-down",
       bmpFile({.width = kW, .height = -kH, .bitsPerPixel = 1, .palette = noisePalette(2)}, rows(1, true, index(1))),
       0},
      {"4 bits",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 4, .palette = noisePalette(16)}, rows(4, false, index(4))),
       0},
      {"8 bits",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 8, .palette = noisePalette(256)}, rows(8, false, index(8))),
       0},
      {"8 bits, top-down",
       bmpFile({.width = kW, .height = -kH, .bitsPerPixel = 8, .palette = noisePalette(256)}, rows(8, true, index(8))),
       0},
      {"OS/2 1.x, 8 bits",
       bmpFile({.headerSize = 12, .width = kW, .height = kH, .bitsPerPixel = 8, .palette = noisePalette(256)},
               rows(8, false, index(8))),
       0},
      {"OS/2 1.x, 24 bits", bmpFile({.headerSize = 12, .width = kW, .height = kH}, rows(24, false, opaque)), 0},
      {"24 bits", bmpFile({.width = kW, .height = kH}, rows(24, false, opaque)), 0},
      {"24 bits, top-down", bmpFile({.width = kW, .height = -kH}, rows(24, true, opaque)), 0},
      {"24 bits with a palette",
       bmpFile({.width = kW, .height = kH, .palette = noisePalette(16)}, rows(24, false, opaque)), 0},
      {"16 bits, 5-5-5",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 16},
               rows(16, false, [](int x, int y) { return noise(x, y) & 0x7FFF; })),
       1},
      {"16 bits, 5-6-5",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}},
               rows(16, false, [](int x, int y) { return noise(x, y) & 0xFFFF; })),
       1},
      {"32 bits, alpha all zero", bmpFile({.width = kW, .height = kH, .bitsPerPixel = 32}, rows(32, false, opaque)), 0},
      {"32 bits with alpha", bmpFile({.width = kW, .height = kH, .bitsPerPixel = 32}, rows(32, false, any)), 1},
      {"32 bits, masks in red-green-blue order",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}},
               rows(32, false, opaque)),
       0},
      {"32 bits, version 5 header with alpha",
       bmpFile({.headerSize = 124,
                .width = kW,
                .height = -kH,
                .bitsPerPixel = 32,
                .compression = 3,
                .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
               rows(32, true, any)),
       1},
      {"32 bits, alpha in the lowest byte",
       bmpFile({.headerSize = 108,
                .width = kW,
                .height = kH,
                .bitsPerPixel = 32,
                .compression = 3,
                .masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF}},
               rows(32, false, any)),
       1},
      {"RLE8",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 8, .compression = 1, .palette = noisePalette(256)},
               testing_support::runLengthCodes(kW, kH, 8, runs(8))),
       0},
      {"RLE4",
       bmpFile({.width = kW, .height = kH, .bitsPerPixel = 4, .compression = 2, .palette = noisePalette(16)},
               testing_support::runLengthCodes(kW, kH, 4, runs(4))),
       0},
  };
}

// Pixel for pixel. Where ImageMagick's arithmetic differs, each channel may differ by 1: it widens 5-
// and 6-bit fields by repeating their top bits (24 of 5 bits is 24 << 3 | 24 >> 2 = 198, where
// 24 x 255 / 31 rounded is 197), and lays alpha over black in 16-bit steps rounded once more. Every
// other kind must come out the same to the bit.
TEST_F(BmpReferenceTest, EveryKindReadsAsImageMagickReadsIt) {
  for (const auto& kind : crossCheckedKinds()) {
    SCOPED_TRACE(kind.name);
    const auto reference = referencePixels(kind.bytes, folder_);
    ASSERT_EQ(reference.size(), std::size_t{37 * 23});
    const auto ours = ourPixels(kind.bytes);
    ASSERT_EQ(ours.size(), reference.size());
    int different = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) {
      const auto near = [&](std::uint8_t a, std::uint8_t b) { return std::abs(a - b) <= kind.tolerance; };
      if (near(ours[i].r, reference[i].r) && near(ours[i].g, reference[i].g) && near(ours[i].b, reference[i].b))
        continue;
      if (++different <= 3) {
        ADD_FAILURE() << "pixel " << i % 37 << "," << i / 37 << ": ours " << int(ours[i].r) << "," << int(ours[i].g)
                      << "," << int(ours[i].b) << ", ImageMagick's " << int(reference[i].r) << ","
                      << int(reference[i].g) << "," << int(reference[i].b);
      }
    }
    EXPECT_EQ(different, 0);
  }
}

}  // namespace
}  // namespace slidewell::picture

#pragma once

#include <cstdint>
#include <vector>

#include "bmp_file.h"

namespace slidewell::testing_support {

// A BMP file of one kind, and the pixels it shows over black, top row first.
struct BmpKind {
  const char* name;
  std::vector<std::uint8_t> bytes;
  std::vector<Rgb> pixels;
};

// The four colours of the kinds' palettes.
const std::vector<Rgb>& bmpKindPalette();

// A 3 x 2 picture of every uncompressed kind the reader reads: each header, depth and set of masks,
// both row orders, with alpha and without.
std::vector<BmpKind> everyBmpKind();

// 4 x 3 (and 4 x 2) pictures of run-length codes: RLE8, RLE4 and RLE24, with moves, early ends of
// lines and of the picture, runs past the end of a line and data that ends early.
std::vector<BmpKind> everyRunLengthKind();

// A 4-pixel-wide picture of `height` rows coded as `codes`, with the kinds' palette at 8 bits or less.
std::vector<std::uint8_t> runLengthBmp(int bits, std::uint32_t compression, const std::vector<int>& codes,
                                       int height = 3, int headerSize = 40);

}  // namespace slidewell::testing_support

#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "picture/byte_source.h"

namespace slidewell::picture {

// Where and how a BMP file stores pixels that can be copied out of it row by row, without a decoder:
// uncompressed 24-bit BGR, 32-bit BGR (a fourth byte kept as the file holds it), or 8-bit indices into
// a palette.
struct BitmapLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool topDown = false;            // the first stored row is the top one
  std::uint32_t bitsPerPixel = 0;  // as stored: 8, 24 or 32
  std::uint64_t pixelOffset = 0;   // where the first stored row starts
  std::uint64_t stride = 0;        // the bytes of one stored row, padded to a multiple of 4
  // For 8 bits, each index's colour as a 32-bit pixel: blue, green, red, then 255 (opaque). An index
  // past the colours the file holds is opaque black.
  std::array<std::array<std::uint8_t, 4>, 256> palette{};
  std::uint64_t paletteEnd = 0;  // where the colours the palette needs end (0 without a palette)

  // The depth of the pixels as shown: palette colours become 32-bit pixels, other pixels stay as stored.
  std::uint32_t shownBitsPerPixel() const { return bitsPerPixel == 8 ? 32 : bitsPerPixel; }
  // Where the stored row of the picture's row `y` (counting from the top) starts.
  std::uint64_t rowOffset(std::uint32_t y) const;
  // How long the file must be to hold every pixel and palette colour the header declares.
  std::uint64_t dataEnd() const;
};

// Reads the layout from a BMP file's headers (an information header of 40, 108 or 124 bytes) when its
// pixels are stored in a way that BitmapLayout describes: BI_RGB at 8 (with its palette), 24 or 32
// bits, or BI_BITFIELDS at 32 bits with the masks of plain BGR and no alpha. Width at least 1 and at
// most INT32_MAX; a negative height is a top-down picture. nullopt for any other file, which is left
// to a decoder. It does not check that the file is as long as the header declares (see dataEnd).
std::optional<BitmapLayout> readBitmapLayout(const ByteSource& file);

}  // namespace slidewell::picture

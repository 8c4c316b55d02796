#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

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

// A rectangle of a picture, in the picture's own pixels.
struct PixelArea {
  std::uint32_t left = 0;
  std::uint32_t top = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// Copies `area` of the bitmap that `layout` describes from `file` into `out`, top row first, each row
// `outStride` bytes after the one above, at the layout's shown depth. It reads only the area's rows,
// and of each row only the area's span, in the order they lie in the file; when the area spans whole
// rows that are copied as they are stored, it reads them in one go. False when the area is empty or
// does not lie inside the picture, when `out` cannot hold it, or when the file ends before the area
// does (then `out` holds what was read); it never reads or writes outside the file's and `out`'s
// bounds.
bool readBitmapArea(const ByteSource& file, const BitmapLayout& layout, const PixelArea& area,
                    std::span<std::uint8_t> out, std::size_t outStride);

}  // namespace slidewell::picture

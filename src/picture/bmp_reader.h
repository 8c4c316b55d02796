#pragma once

#include <cstdint>
#include <span>

#include "picture/bmp_header.h"
#include "picture/byte_reader.h"

namespace slidewell::picture {

// A rectangle of a picture, in the picture's own pixels.
struct PixelArea {
  std::uint32_t left = 0;
  std::uint32_t top = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The program's own reader of the pixels of a BMP file whose layout readBmpLayout read: uncompressed
// (1, 2, 4, 8, 16, 24, 32 or 64 bits) or run-length coded (RLE4, RLE8, RLE24) pixels, either row order.
// What it gives is opaque BGR with 255 in the fourth byte: a pixel's alpha is laid over `background`,
// unless the picture's alpha is zero in every pixel read, when the picture is opaque. No colour
// profile is applied: the colours are taken as sRGB. A JPEG or PNG file stored inside is not read
// here (see BmpCoding).
//
// Uncompressed, only the area's rows are read, and of each only the area's span, in the order they lie
// in the file (whole rows of a band at once); such a file shorter than its rows gives nothing, whatever
// the area. Run-length coded, the data is decoded in one pass as far as the area's last row, keeping
// only the area: pixels that no code reaches (skipped by a delta, after an early end of a line or of
// the picture, or after the data ends) are black, and a run past the end of its line is cut there.
// No read is asked outside the file; on failure `out` holds what was read so far.

// Copies `area` of the picture into `out`, area.width x area.height pixels, top row first. False
// when the area is empty or does not lie inside the picture, `out` is not its size, the file ends
// before an uncompressed area does, or a buffer cannot be had.
bool readBmpArea(ByteReader& file, const BmpLayout& layout, const PixelArea& area, std::span<Bgra> out,
                 Bgra background);

// The whole picture made `width` x `height` (each at most the picture's own), each pixel of `out` the
// average of the picture's pixels that fall in it, top row first. False as above.
bool readBmpScaled(ByteReader& file, const BmpLayout& layout, std::uint32_t width, std::uint32_t height,
                   std::span<Bgra> out, Bgra background);

}  // namespace slidewell::picture

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "picture/bitmap_layout.h"
#include "picture/byte_source.h"

namespace slidewell::picture {

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

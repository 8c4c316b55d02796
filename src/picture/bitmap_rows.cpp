#include "picture/bitmap_rows.h"

#include <algorithm>
#include <vector>

namespace slidewell::picture {
namespace {

bool fits(const BitmapLayout& layout, const PixelArea& area) {
  return area.width > 0 && area.height > 0 && std::uint64_t{area.left} + area.width <= layout.width &&
         std::uint64_t{area.top} + area.height <= layout.height;
}

// Whole rows stored as they are shown, and `out` laid out as the file is: the area's rows lie end to
// end in the file, so one read fills `out`, and a bottom-up file's rows need only be put in order.
bool readWholeRows(const ByteSource& file, const BitmapLayout& layout, const PixelArea& area,
                   std::span<std::uint8_t> out) {
  const std::size_t stride = static_cast<std::size_t>(layout.stride);
  const std::size_t bytes = stride * area.height;
  const std::uint32_t firstStored = layout.topDown ? area.top : area.top + area.height - 1;
  if (file.readAt(layout.rowOffset(firstStored), out.first(bytes)) != bytes) return false;
  if (!layout.topDown) {
    for (std::size_t top = 0, bottom = area.height - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(out.begin() + static_cast<std::ptrdiff_t>(top * stride),
                       out.begin() + static_cast<std::ptrdiff_t>((top + 1) * stride),
                       out.begin() + static_cast<std::ptrdiff_t>(bottom * stride));
    }
  }
  return true;
}

void showPaletteIndices(const BitmapLayout& layout, std::span<const std::uint8_t> indices, std::uint8_t* out) {
  for (const std::uint8_t index : indices)
    out = std::copy(layout.palette[index].begin(), layout.palette[index].end(), out);
}

}  // namespace

bool readBitmapArea(const ByteSource& file, const BitmapLayout& layout, const PixelArea& area,
                    std::span<std::uint8_t> out, std::size_t outStride) {
  if (!fits(layout, area)) return false;
  const std::uint64_t storedPixelBytes = layout.bitsPerPixel / 8;
  const std::uint64_t storedSpan = storedPixelBytes * area.width;
  const std::uint64_t shownSpan = std::uint64_t{layout.shownBitsPerPixel() / 8} * area.width;
  if (outStride < shownSpan || shownSpan > out.size() || (out.size() - shownSpan) / outStride < area.height - 1) {
    return false;
  }

  const bool asStored = layout.shownBitsPerPixel() == layout.bitsPerPixel;
  if (asStored && area.width == layout.width && outStride == layout.stride &&
      std::uint64_t{outStride} * area.height <= out.size()) {
    return readWholeRows(file, layout, area, out);
  }
  // Row by row in the file's order, each span straight into its place, or through `indices` first.
  std::vector<std::uint8_t> indices(asStored ? 0 : static_cast<std::size_t>(storedSpan));
  for (std::uint32_t i = 0; i < area.height; ++i) {
    const std::uint32_t row = layout.topDown ? i : area.height - 1 - i;
    const std::uint64_t from = layout.rowOffset(area.top + row) + storedPixelBytes * area.left;
    const auto to = out.subspan(static_cast<std::size_t>(row) * outStride, static_cast<std::size_t>(shownSpan));
    const std::span<std::uint8_t> stored = asStored ? to : std::span(indices);
    if (file.readAt(from, stored) != stored.size()) return false;
    if (!asStored) showPaletteIndices(layout, stored, to.data());
  }
  return true;
}

}  // namespace slidewell::picture

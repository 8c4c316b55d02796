#include "picture/bitmap_rows.h"

#include <algorithm>
#include <span>
#include <vector>

namespace slidewell::picture {
namespace {

constexpr std::uint64_t kFileHeaderBytes = 14;
constexpr std::uint64_t kBiRgb = 0;
constexpr std::uint64_t kBiBitfields = 3;
constexpr std::array<std::uint8_t, 4> kOpaqueBlack{0, 0, 0, 255};

// A little-endian number of `size` bytes (at most 4) at `offset`, or nothing when the file ends first.
std::optional<std::uint32_t> numberAt(const ByteSource& file, std::uint64_t offset, std::size_t size) {
  std::array<std::uint8_t, 4> bytes{};
  if (size > bytes.size() || file.readAt(offset, std::span(bytes.data(), size)) != size) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

// The masks of BI_BITFIELDS, which follow a 40-byte header and sit at the same place inside the longer
// ones; only the longer ones carry an alpha mask. Red, green and blue as the bytes of plain BGR, and no
// alpha, is the one layout of masks that is stored as BI_RGB stores 32 bits.
bool masksArePlainBgr(const ByteSource& file, std::uint32_t headerSize) {
  const auto red = numberAt(file, 54, 4);
  const auto green = numberAt(file, 58, 4);
  const auto blue = numberAt(file, 62, 4);
  const auto alpha = headerSize > 40 ? numberAt(file, 66, 4) : std::optional<std::uint32_t>{0};
  return red == 0x00FF0000u && green == 0x0000FF00u && blue == 0x000000FFu && alpha == 0u;
}

// The palette follows the headers: as many BGRX colours as the header counts (all 256 when it counts
// none, at most 256 when it counts more). Colours past the end of the file stay opaque black; the
// layout's paletteEnd tells that the file is too short.
void readPalette(const ByteSource& file, std::uint32_t headerSize, std::uint32_t coloursUsed, BitmapLayout& layout) {
  const std::uint32_t count = coloursUsed == 0 ? 256 : std::min<std::uint32_t>(coloursUsed, 256);
  const std::uint64_t start = kFileHeaderBytes + headerSize;
  std::vector<std::uint8_t> bytes(std::size_t{count} * 4);
  const std::size_t got = file.readAt(start, bytes);
  layout.palette.fill(kOpaqueBlack);
  for (std::size_t i = 0; i + 4 <= got; i += 4) layout.palette[i / 4] = {bytes[i], bytes[i + 1], bytes[i + 2], 255};
  layout.paletteEnd = start + bytes.size();
}

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

std::uint64_t BitmapLayout::rowOffset(std::uint32_t y) const {
  return pixelOffset + std::uint64_t{topDown ? y : height - 1 - y} * stride;
}

std::uint64_t BitmapLayout::dataEnd() const {
  // A width below 2^31 at 32 bits and a height of at most 2^31 keep this below 2^64.
  return std::max(pixelOffset + stride * height, paletteEnd);
}

std::optional<BitmapLayout> readBitmapLayout(const ByteSource& file) {
  const auto signature = numberAt(file, 0, 2);
  const auto pixelOffset = numberAt(file, 10, 4);
  const auto headerSize = numberAt(file, 14, 4);
  const auto width = numberAt(file, 18, 4);
  const auto height = numberAt(file, 22, 4);
  const auto bits = numberAt(file, 28, 2);
  const auto compression = numberAt(file, 30, 4);
  const auto coloursUsed = numberAt(file, 46, 4);
  if (signature != 0x4D42 || !pixelOffset || !width || !height || !bits || !compression || !coloursUsed) {
    return std::nullopt;
  }
  if (headerSize != 40u && headerSize != 108u && headerSize != 124u) return std::nullopt;
  if (*width == 0 || *width > INT32_MAX || *height == 0) return std::nullopt;
  const bool plain = *compression == kBiRgb && (*bits == 8 || *bits == 24 || *bits == 32);
  const bool bgrMasks = *compression == kBiBitfields && *bits == 32 && masksArePlainBgr(file, *headerSize);
  if (!plain && !bgrMasks) return std::nullopt;

  BitmapLayout layout;
  layout.width = *width;
  layout.topDown = *height > INT32_MAX;
  layout.height = layout.topDown ? 0u - *height : *height;  // the magnitude of a negative height
  layout.bitsPerPixel = *bits;
  layout.pixelOffset = *pixelOffset;
  layout.stride = (std::uint64_t{*width} * *bits + 31) / 32 * 4;
  if (*bits == 8) readPalette(file, *headerSize, *coloursUsed, layout);
  return layout;
}

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

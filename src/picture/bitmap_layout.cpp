#include "picture/bitmap_layout.h"

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

}  // namespace slidewell::picture

#include "picture/bmp_header.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <vector>

namespace slidewell::picture {
namespace {

constexpr std::uint64_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kLongestHeaderRead = 124;

// The compressions as the header stores them; 3 and 4 mean other things in an OS/2 2.x header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

std::uint32_t field(const std::vector<std::uint8_t>& header, std::size_t offset, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes; i-- > 0;) value = value << 8 | header[offset + i];
  return value;
}

// A mask of one run of 1 to 16 bits inside the pixel's bits, or none at all.
bool usableMask(std::uint32_t mask, std::uint32_t bitsPerPixel) {
  if (mask == 0) return true;
  if (bitsPerPixel < 32 && mask >> bitsPerPixel != 0) return false;
  const std::uint32_t run = mask >> std::countr_zero(mask);
  return (run & (run + 1)) == 0 && std::popcount(run) <= 16;
}

bool depthGoesWithCoding(std::uint32_t bits, BmpCoding coding, bool bitfields) {
  switch (coding) {
    case BmpCoding::Plain:
      if (bitfields) return bits == 16 || bits == 32;
      return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32 || bits == 64;
    case BmpCoding::Rle8:
      return bits == 8;
    case BmpCoding::Rle4:
      return bits == 4;
    case BmpCoding::Rle24:
      return bits == 24;
    case BmpCoding::Jpeg:
    case BmpCoding::Png:
      return true;
  }
  return false;
}

// The palette follows the headers and ends where the pixels begin: as many colours as the header counts
// (all that the depth can index when it counts none), at most 256, and no more than fit before the
// pixels. Colours past the end of the file stay black.
void readPalette(ByteReader& file, std::uint64_t start, std::uint32_t counted, std::size_t entryBytes,
                 BmpLayout& layout) {
  std::uint64_t count = counted == 0 ? std::uint64_t{1} << layout.bitsPerPixel : counted;
  count = std::min<std::uint64_t>({count, 256, (layout.dataOffset - start) / entryBytes});
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * entryBytes);
  const std::uint64_t inside = file.size() > start ? std::min<std::uint64_t>(bytes.size(), file.size() - start) : 0;
  file.read(start, std::span(bytes).first(static_cast<std::size_t>(inside)));
  for (auto& colour : layout.palette) colour = Bgra{0, 0, 0, 255};
  for (std::size_t i = 0; (i + 1) * entryBytes <= inside; ++i) {
    layout.palette[i] = Bgra{bytes[i * entryBytes], bytes[i * entryBytes + 1], bytes[i * entryBytes + 2], 255};
  }
}

}  // namespace

std::uint32_t BmpLayout::frameBitsPerPixel() const {
  const bool runLengths = coding == BmpCoding::Rle4 || coding == BmpCoding::Rle8 || coding == BmpCoding::Rle24;
  return runLengths ? 32 : bitsPerPixel;
}

std::optional<BmpLayout> readBmpLayout(ByteReader& file) {
  const auto dataOffset = file.number(10, 4);
  const auto headerSize = file.number(14, 4);
  if (!file.startsWith("BM") || !dataOffset || !headerSize) return std::nullopt;
  const bool core = *headerSize == kCoreHeaderBytes;
  if (!core && *headerSize < 16) return std::nullopt;
  // Fields a short header leaves out read as 0.
  std::vector<std::uint8_t> header(kLongestHeaderRead, 0);
  const auto stored = static_cast<std::size_t>(std::min<std::uint64_t>(*headerSize, kLongestHeaderRead));
  if (!file.read(kFileHeaderBytes, std::span(header).first(stored))) return std::nullopt;
  const bool windows = *headerSize == 40 || *headerSize == 52 || *headerSize == 56 || *headerSize > 64;
  const bool os2 = !core && !windows;

  BmpLayout layout;
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t counted = 0;
  std::uint64_t sizeImage = 0;
  if (core) {
    width = field(header, 4, 2);
    height = field(header, 6, 2);
    layout.bitsPerPixel = field(header, 10, 2);
  } else {
    width = field(header, 4, 4);
    const std::uint32_t storedHeight = field(header, 8, 4);
    layout.topDown = storedHeight > INT32_MAX;
    height = layout.topDown ? std::uint64_t{1} + ~storedHeight : storedHeight;  // the magnitude of a negative one
    layout.bitsPerPixel = field(header, 14, 2);
    compression = field(header, 16, 4);
    sizeImage = field(header, 20, 4);
    counted = field(header, 32, 4);
  }
  if (width == 0 || width > INT32_MAX || height == 0 || height > std::uint64_t{1} << 31) return std::nullopt;
  layout.width = static_cast<std::uint32_t>(width);
  layout.height = static_cast<std::uint32_t>(height);

  bool bitfields = false;
  switch (compression) {
    case kBiRgb:
      layout.coding = BmpCoding::Plain;
      break;
    case kBiRle8:
      layout.coding = BmpCoding::Rle8;
      break;
    case kBiRle4:
      layout.coding = BmpCoding::Rle4;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (os2) return std::nullopt;  // 3 is OS/2's one-dimensional Huffman coding of 1-bit pixels
      layout.coding = BmpCoding::Plain;
      bitfields = true;
      break;
    case kBiJpeg:
      // OS/2's 24-bit run lengths; a Windows header with a JPEG inside declares no depth of its own.
      layout.coding = os2 || layout.bitsPerPixel == 24 ? BmpCoding::Rle24 : BmpCoding::Jpeg;
      break;
    case kBiPng:
      layout.coding = BmpCoding::Png;
      break;
    default:
      return std::nullopt;
  }
  if (!depthGoesWithCoding(layout.bitsPerPixel, layout.coding, bitfields)) return std::nullopt;

  // Masks follow a 40-byte header and sit at the same place inside the longer ones.
  std::uint64_t headersEnd = kFileHeaderBytes + *headerSize;
  if (bitfields) {
    const bool alphaMask = compression == kBiAlphaBitfields || *headerSize >= 56;
    const std::size_t maskCount = alphaMask ? 4 : 3;
    if (*headerSize == 40) {
      std::array<std::uint8_t, 16> masks{};
      if (!file.read(headersEnd, std::span(masks).first(maskCount * 4))) return std::nullopt;
      std::copy(masks.begin(), masks.end(), header.begin() + 40);
      headersEnd += maskCount * 4;
    }
    for (std::size_t i = 0; i < maskCount; ++i) layout.masks[i] = field(header, 40 + 4 * i, 4);
    for (const std::uint32_t mask : layout.masks) {
      if (!usableMask(mask, layout.bitsPerPixel)) return std::nullopt;
    }
    if ((layout.masks[0] | layout.masks[1] | layout.masks[2]) == 0) return std::nullopt;
  } else if (layout.bitsPerPixel == 16) {
    layout.masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (layout.bitsPerPixel == 32) {
    // The fourth byte, reserved by the format, is taken as alpha, as other programs take it.
    layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  }

  layout.dataOffset = *dataOffset;
  if (layout.dataOffset < headersEnd) return std::nullopt;
  const bool indexed = layout.bitsPerPixel <= 8 && layout.coding != BmpCoding::Jpeg && layout.coding != BmpCoding::Png;
  if (indexed) readPalette(file, headersEnd, counted, core ? 3 : 4, layout);

  if (layout.coding == BmpCoding::Plain) {
    layout.stride = (std::uint64_t{layout.width} * layout.bitsPerPixel + 31) / 32 * 4;
    layout.dataSize = layout.stride * layout.height;
  } else {
    if (layout.dataOffset >= file.size()) return std::nullopt;
    const std::uint64_t rest = file.size() - layout.dataOffset;
    layout.dataSize = sizeImage != 0 && sizeImage <= rest ? sizeImage : rest;
  }
  return layout;
}

}  // namespace slidewell::picture

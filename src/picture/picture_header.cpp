#include "picture/picture_header.h"

#include <climits>

#include <array>
#include <string_view>

namespace slidewell::picture {
namespace {

enum class Order { Little, Big };

// An unsigned number of `size` bytes (at most 8) at `offset`, or nothing when the file ends first.
std::optional<std::uint64_t> numberAt(const ByteSource& file, std::uint64_t offset, std::size_t size,
                                      Order order = Order::Little) {
  std::array<std::uint8_t, 8> bytes{};
  if (size > bytes.size() || file.readAt(offset, std::span(bytes.data(), size)) != size) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value = value << 8 | bytes[order == Order::Big ? i : size - 1 - i];
  return value;
}

bool startsWith(const ByteSource& file, std::string_view signature) {
  std::array<std::uint8_t, 8> bytes{};
  if (signature.size() > bytes.size() ||
      file.readAt(0, std::span(bytes.data(), signature.size())) != signature.size()) {
    return false;
  }
  for (std::size_t i = 0; i < signature.size(); ++i) {
    if (bytes[i] != static_cast<std::uint8_t>(signature[i])) return false;
  }
  return true;
}

// Every reader below gives a depth of at most 32 bits' worth (TIFF's largest: 65535 samples of 65535 bits).
std::optional<DeclaredFrame> frameOf(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel) {
  if (bitsPerPixel == 0) return std::nullopt;
  return DeclaredFrame{width, height, static_cast<std::uint32_t>(bitsPerPixel)};
}

// The first chunk, IHDR: width, height, bits per sample, colour type.
std::optional<DeclaredFrame> readPng(const ByteSource& file) {
  const auto length = numberAt(file, 8, 4, Order::Big);
  const auto type = numberAt(file, 12, 4, Order::Big);
  const auto width = numberAt(file, 16, 4, Order::Big);
  const auto height = numberAt(file, 20, 4, Order::Big);
  const auto bits = numberAt(file, 24, 1);
  const auto colour = numberAt(file, 25, 1);
  if (length != 13 || type != 0x49484452 || !width || !height || !bits || !colour) return std::nullopt;
  // Grey, RGB, palette, grey with alpha (held as four channels, like RGBA), RGBA.
  constexpr std::array<std::uint64_t, 7> kSamples{1, 0, 3, 1, 4, 0, 4};
  if (*colour >= kSamples.size() || kSamples[*colour] == 0) return std::nullopt;
  if (*bits != 1 && *bits != 2 && *bits != 4 && *bits != 8 && *bits != 16) return std::nullopt;
  return frameOf(*width, *height, kSamples[*colour] * *bits);
}

// The first image descriptor, past the global palette and any extension blocks; its indices are
// held one byte each, whatever the palette's size.
std::optional<DeclaredFrame> readGif(const ByteSource& file) {
  const auto flags = numberAt(file, 10, 1);
  if (!flags) return std::nullopt;
  std::uint64_t at = 13;
  if (*flags & 0x80) at += std::uint64_t{3} << ((*flags & 7) + 1);
  for (;;) {
    const auto block = numberAt(file, at, 1);
    if (block == 0x2C) {
      const auto width = numberAt(file, at + 5, 2);
      const auto height = numberAt(file, at + 7, 2);
      if (!width || !height) return std::nullopt;
      return frameOf(*width, *height, 8);
    }
    if (block != 0x21) return std::nullopt;  // the trailer, or no GIF block at all
    at += 2;
    for (;;) {
      const auto subBlock = numberAt(file, at, 1);
      if (!subBlock) return std::nullopt;
      at += 1 + *subBlock;
      if (*subBlock == 0) break;
    }
  }
}

// The first directory's width, length, bits per sample and samples per pixel.
std::optional<DeclaredFrame> readTiff(const ByteSource& file) {
  const auto mark = numberAt(file, 0, 2);
  if (mark != 0x4949 && mark != 0x4D4D) return std::nullopt;
  const Order order = mark == 0x4949 ? Order::Little : Order::Big;
  const auto version = numberAt(file, 2, 2, order);
  const bool big = version == 43;
  if (!big && version != 42) return std::nullopt;
  if (big && (numberAt(file, 4, 2, order) != 8 || numberAt(file, 6, 2, order) != 0)) return std::nullopt;
  // Classic: 2-byte entry count, 12-byte entries with a 4-byte count and value; BigTIFF: 8, 20, 8 and 8.
  const std::size_t wide = big ? 8 : 4;
  const auto directory = numberAt(file, big ? 8 : 4, wide, order);
  const auto entries = directory ? numberAt(file, *directory, big ? 8 : 2, order) : std::nullopt;
  constexpr std::uint64_t kMostEntries = 0xFFFF;
  if (!entries || *entries > kMostEntries) return std::nullopt;

  std::optional<std::uint64_t> width;
  std::optional<std::uint64_t> height;
  std::uint64_t bitsPerSample = 1;
  std::uint64_t samplesPerPixel = 1;
  const std::uint64_t first = *directory + (big ? 8 : 2);
  for (std::uint64_t i = 0; i < *entries; ++i) {
    const std::uint64_t entry = first + i * (big ? 20 : 12);
    const auto tag = numberAt(file, entry, 2, order);
    const auto type = numberAt(file, entry + 2, 2, order);
    const auto count = numberAt(file, entry + 4, wide, order);
    if (!tag || !type || !count) return std::nullopt;
    if (*tag != 256 && *tag != 257 && *tag != 258 && *tag != 277) continue;
    // SHORT, LONG or LONG8; of several values (bits per sample, one for each sample) the first.
    const std::size_t size = *type == 3 ? 2 : *type == 4 ? 4 : *type == 16 ? 8 : 0;
    if (size == 0 || *count == 0) return std::nullopt;
    std::optional<std::uint64_t> place = entry + 4 + wide;
    if (*count > wide / size) place = numberAt(file, *place, wide, order);
    const auto value = place ? numberAt(file, *place, size, order) : std::nullopt;
    if (!value) return std::nullopt;
    if (*tag == 256) width = value;
    if (*tag == 257) height = value;
    if (*tag == 258) bitsPerSample = *value;
    if (*tag == 277) samplesPerPixel = *value;
  }
  if (!width || !height || bitsPerSample > 0xFFFF || samplesPerPixel > 0xFFFF) return std::nullopt;
  return frameOf(*width, *height, bitsPerSample * samplesPerPixel);
}

// The frame header (SOF0 to SOF15; C4, C8 and CC are other segments), after any segments before it.
std::optional<DeclaredFrame> readJpeg(const ByteSource& file) {
  std::uint64_t at = 2;
  for (;;) {
    if (numberAt(file, at, 1) != 0xFF) return std::nullopt;
    auto marker = numberAt(file, at + 1, 1);
    while (marker == 0xFF) marker = numberAt(file, ++at + 1, 1);  // fill bytes
    if (!marker || *marker == 0x00) return std::nullopt;
    at += 2;
    // Markers that stand alone: TEM, RST0 to RST7, and a repeated SOI.
    if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD8)) continue;
    // The end of the picture, or a scan, before any frame.
    if (*marker == 0xD9 || *marker == 0xDA) return std::nullopt;
    const auto length = numberAt(file, at, 2, Order::Big);
    if (!length || *length < 2) return std::nullopt;
    if (*marker >= 0xC0 && *marker <= 0xCF && *marker != 0xC4 && *marker != 0xC8 && *marker != 0xCC) {
      const auto height = numberAt(file, at + 3, 2, Order::Big);
      const auto width = numberAt(file, at + 5, 2, Order::Big);
      const auto components = numberAt(file, at + 7, 1);
      if (!height || !width || !components) return std::nullopt;
      return frameOf(*width, *height, *components * 8);
    }
    at += *length;
  }
}

// The core header (12 bytes, 16-bit sides) or an info header (40 bytes or more, signed sides; a
// negative height is a top-down picture).
std::optional<DeclaredFrame> readBmp(const ByteSource& file) {
  const auto headerSize = numberAt(file, 14, 4);
  if (headerSize == 12) {
    const auto width = numberAt(file, 18, 2);
    const auto height = numberAt(file, 20, 2);
    const auto bits = numberAt(file, 24, 2);
    if (!width || !height || !bits) return std::nullopt;
    return frameOf(*width, *height, *bits);
  }
  if (!headerSize || *headerSize < 40) return std::nullopt;
  const auto width = numberAt(file, 18, 4);
  const auto height = numberAt(file, 22, 4);
  const auto bits = numberAt(file, 28, 2);
  const auto compression = numberAt(file, 30, 4);
  if (!width || !height || !bits || !compression || *width > INT32_MAX) return std::nullopt;
  // BI_JPEG and BI_PNG hold a picture of another format, which its own decoder judges.
  if (*compression == 4 || *compression == 5) return std::nullopt;
  const std::uint64_t rows = *height > INT32_MAX ? (std::uint64_t{1} << 32) - *height : *height;
  // Run-length coded bitmaps (BI_RLE8, BI_RLE4) are expanded to 32-bit pixels.
  const bool runLengths = *compression == 1 || *compression == 2;
  return frameOf(*width, rows, runLengths ? 32 : *bits);
}

}  // namespace

std::optional<DeclaredFrame> readDeclaredFrame(const ByteSource& file) {
  if (startsWith(file, "\x89PNG\r\n\x1A\n")) return readPng(file);
  if (startsWith(file, "GIF87a") || startsWith(file, "GIF89a")) return readGif(file);
  if (startsWith(file, "II") || startsWith(file, "MM")) return readTiff(file);
  if (startsWith(file, "\xFF\xD8")) return readJpeg(file);
  if (startsWith(file, "BM")) return readBmp(file);
  return std::nullopt;
}

bool decoderCanHold(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel) {
  if (width == 0 || height == 0 || bitsPerPixel == 0 || width > INT_MAX || height > INT_MAX) return false;
  const std::uint64_t rowBytes = (width * bitsPerPixel + 7) / 8;
  return rowBytes <= kMaxDecodedFrameBytes && height <= kMaxDecodedFrameBytes / rowBytes;
}

}  // namespace slidewell::picture

#include "picture/picture_header.h"

#include <climits>

#include <array>
#include <string_view>

namespace slidewell::picture {
namespace {

// Every reader below gives a depth of at most 32 bits' worth (TIFF's largest: 65535 samples of 65535 bits).
std::optional<DeclaredFrame> frameOf(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel) {
  if (bitsPerPixel == 0) return std::nullopt;
  return DeclaredFrame{width, height, static_cast<std::uint32_t>(bitsPerPixel)};
}

// The first chunk, IHDR: width, height, bits per sample, colour type.
std::optional<DeclaredFrame> readPng(ByteReader& file) {
  const auto length = file.number(8, 4, ByteOrder::Big);
  const auto type = file.number(12, 4, ByteOrder::Big);
  const auto width = file.number(16, 4, ByteOrder::Big);
  const auto height = file.number(20, 4, ByteOrder::Big);
  const auto bits = file.number(24, 1);
  const auto colour = file.number(25, 1);
  if (length != 13 || type != 0x49484452 || !width || !height || !bits || !colour) return std::nullopt;
  // Grey, RGB, palette, grey with alpha (held as four channels, like RGBA), RGBA.
  constexpr std::array<std::uint64_t, 7> kSamples{1, 0, 3, 1, 4, 0, 4};
  if (*colour >= kSamples.size() || kSamples[*colour] == 0) return std::nullopt;
  if (*bits != 1 && *bits != 2 && *bits != 4 && *bits != 8 && *bits != 16) return std::nullopt;
  return frameOf(*width, *height, kSamples[*colour] * *bits);
}

// The first image descriptor, past the global palette and any extension blocks; its indices are
// held one byte each, whatever the palette's size.
std::optional<DeclaredFrame> readGif(ByteReader& file) {
  const auto flags = file.number(10, 1);
  if (!flags) return std::nullopt;
  std::uint64_t at = 13;
  if (*flags & 0x80) at += std::uint64_t{3} << ((*flags & 7) + 1);
  for (;;) {
    const auto block = file.number(at, 1);
    if (block == 0x2C) {
      const auto width = file.number(at + 5, 2);
      const auto height = file.number(at + 7, 2);
      if (!width || !height) return std::nullopt;
      return frameOf(*width, *height, 8);
    }
    if (block != 0x21) return std::nullopt;  // the trailer, or no GIF block at all
    at += 2;
    for (;;) {
      const auto subBlock = file.number(at, 1);
      if (!subBlock) return std::nullopt;
      at += 1 + *subBlock;
      if (*subBlock == 0) break;
    }
  }
}

// The first directory's width, length, bits per sample and samples per pixel.
std::optional<DeclaredFrame> readTiff(ByteReader& file) {
  const auto mark = file.number(0, 2);
  if (mark != 0x4949 && mark != 0x4D4D) return std::nullopt;
  const ByteOrder order = mark == 0x4949 ? ByteOrder::Little : ByteOrder::Big;
  const auto version = file.number(2, 2, order);
  const bool big = version == 43;
  if (!big && version != 42) return std::nullopt;
  if (big && (file.number(4, 2, order) != 8 || file.number(6, 2, order) != 0)) return std::nullopt;
  // Classic: 2-byte entry count, 12-byte entries with a 4-byte count and value; BigTIFF: 8, 20, 8 and 8.
  const std::size_t wide = big ? 8 : 4;
  const auto directory = file.number(big ? 8 : 4, wide, order);
  const auto entries = directory ? file.number(*directory, big ? 8 : 2, order) : std::nullopt;
  constexpr std::uint64_t kMostEntries = 0xFFFF;
  if (!entries || *entries > kMostEntries) return std::nullopt;

  std::optional<std::uint64_t> width;
  std::optional<std::uint64_t> height;
  std::uint64_t bitsPerSample = 1;
  std::uint64_t samplesPerPixel = 1;
  const std::uint64_t first = *directory + (big ? 8 : 2);
  for (std::uint64_t i = 0; i < *entries; ++i) {
    const std::uint64_t entry = first + i * (big ? 20 : 12);
    const auto tag = file.number(entry, 2, order);
    const auto type = file.number(entry + 2, 2, order);
    const auto count = file.number(entry + 4, wide, order);
    if (!tag || !type || !count) return std::nullopt;
    if (*tag != 256 && *tag != 257 && *tag != 258 && *tag != 277) continue;
    // SHORT, LONG or LONG8; of several values (bits per sample, one for each sample) the first.
    const std::size_t size = *type == 3 ? 2 : *type == 4 ? 4 : *type == 16 ? 8 : 0;
    if (size == 0 || *count == 0) return std::nullopt;
    std::optional<std::uint64_t> place = entry + 4 + wide;
    if (*count > wide / size) place = file.number(*place, wide, order);
    const auto value = place ? file.number(*place, size, order) : std::nullopt;
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
std::optional<DeclaredFrame> readJpeg(ByteReader& file) {
  std::uint64_t at = 2;
  for (;;) {
    if (file.number(at, 1) != 0xFF) return std::nullopt;
    auto marker = file.number(at + 1, 1);
    while (marker == 0xFF) marker = file.number(++at + 1, 1);  // fill bytes
    if (!marker || *marker == 0x00) return std::nullopt;
    at += 2;
    // Markers that stand alone: TEM, RST0 to RST7, and a repeated SOI.
    if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD8)) continue;
    // The end of the picture, or a scan, before any frame.
    if (*marker == 0xD9 || *marker == 0xDA) return std::nullopt;
    const auto length = file.number(at, 2, ByteOrder::Big);
    if (!length || *length < 2) return std::nullopt;
    if (*marker >= 0xC0 && *marker <= 0xCF && *marker != 0xC4 && *marker != 0xC8 && *marker != 0xCC) {
      const auto height = file.number(at + 3, 2, ByteOrder::Big);
      const auto width = file.number(at + 5, 2, ByteOrder::Big);
      const auto components = file.number(at + 7, 1);
      if (!height || !width || !components) return std::nullopt;
      return frameOf(*width, *height, *components * 8);
    }
    at += *length;
  }
}

}  // namespace

std::optional<DeclaredFrame> readDeclaredFrame(ByteReader& file) {
  if (file.startsWith("\x89PNG\r\n\x1A\n")) return readPng(file);
  if (file.startsWith("GIF87a") || file.startsWith("GIF89a")) return readGif(file);
  if (file.startsWith("II") || file.startsWith("MM")) return readTiff(file);
  if (file.startsWith("\xFF\xD8")) return readJpeg(file);
  return std::nullopt;
}

bool decoderCanHold(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel) {
  if (width == 0 || height == 0 || bitsPerPixel == 0 || width > INT_MAX || height > INT_MAX) return false;
  const std::uint64_t rowBytes = (width * bitsPerPixel + 7) / 8;
  return rowBytes <= kMaxDecodedFrameBytes && height <= kMaxDecodedFrameBytes / rowBytes;
}

}  // namespace slidewell::picture

namespace slidewell::picture {
namespace {

std::optional<PictureHeader> withinLimit(const DecoderInput& input) {
  const auto& declared = input.declared;
  if (declared && !decoderCanHold(declared->width, declared->height, declared->bitsPerPixel)) return std::nullopt;
  return input;
}

}  // namespace

std::optional<PictureHeader> readPictureHeader(ByteReader& file) {
  if (!file.startsWith("BM")) return withinLimit({DecoderInput::Format::Any, 0, file.size(), readDeclaredFrame(file)});
  const auto layout = readBmpLayout(file);
  if (!layout) return std::nullopt;
  if (layout->coding == BmpCoding::Jpeg || layout->coding == BmpCoding::Png) {
    const ByteRange inside(file.source(), layout->dataOffset, layout->dataSize);
    ByteReader embedded(inside);
    const bool jpeg = layout->coding == BmpCoding::Jpeg;
    if (!embedded.startsWith(jpeg ? "\xFF\xD8" : "\x89PNG\r\n\x1A\n")) return std::nullopt;
    return withinLimit({jpeg ? DecoderInput::Format::Jpeg : DecoderInput::Format::Png, layout->dataOffset,
                        layout->dataSize, readDeclaredFrame(embedded)});
  }
  if (!decoderCanHold(layout->width, layout->height, layout->frameBitsPerPixel())) return std::nullopt;
  return *layout;
}

}  // namespace slidewell::picture

#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "picture/byte_reader.h"

namespace slidewell::picture {

// One pixel as the show keeps it and as a 32-bit DIB section lays it out.
struct Bgra {
  std::uint8_t b = 0;
  std::uint8_t g = 0;
  std::uint8_t r = 0;
  std::uint8_t a = 0;
  bool operator==(const Bgra&) const = default;
};

// How a BMP file stores its pixels.
enum class BmpCoding {
  Plain,  // uncompressed rows: indices into the palette (1, 2, 4, 8 bits), bit fields (16, 32), BGR (24), or 64 bits
  Rle8,   // run lengths of 8-bit indices
  Rle4,   // run lengths of 4-bit indices
  Rle24,  // run lengths of BGR pixels
  Jpeg,   // a JPEG file stored whole as the pixel data
  Png,    // a PNG file stored whole as the pixel data
};

// Everything the headers of a BMP file say about its pixels, read once when the file is opened.
struct BmpLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool topDown = false;  // the first stored row is the top one
  std::uint32_t bitsPerPixel = 0;
  BmpCoding coding = BmpCoding::Plain;
  std::uint64_t dataOffset = 0;  // where the pixel data starts
  std::uint64_t dataSize = 0;    // the bytes of pixel data: every stored row, or the coded data within the file
  std::uint64_t stride = 0;      // the bytes of one stored row, padded to a multiple of 4 (Plain)
  // Each index's colour, opaque; an index past the colours the file holds is opaque black.
  std::array<Bgra, 256> palette{};
  // The bits of red, green, blue and alpha in a 16- or 32-bit pixel; a colour without bits is 0, a
  // pixel without alpha bits is opaque.
  std::array<std::uint32_t, 4> masks{};

  // Whether the stored pixels carry alpha (then a picture whose alpha is all zero is opaque).
  bool hasAlpha() const { return bitsPerPixel == 64 || (bitsPerPixel != 24 && masks[3] != 0); }
  // The depth at which a decoder would hold the frame, for the size limit: a run-length coded bitmap
  // is expanded to 32 bits, anything else keeps its own depth.
  std::uint32_t frameBitsPerPixel() const;
};

// Reads the headers of a BMP file: OS/2 1.x (12 bytes), OS/2 2.x (16 to 64 bytes) and Windows (40, 52,
// 56, 108 or 124 bytes, and longer ones read as 124). nullopt when the file is no BMP, or its headers
// are cut short or describe pixels it cannot hold: a depth other than 1, 2, 4, 8, 16, 24, 32 or 64
// bits, a coding that does not go with the depth (OS/2's Huffman coding and CMYK ones are not read),
// masks that are not contiguous or wider than 16 bits, a width of 0 or beyond 2^31 - 1, a height of
// 0, or pixel data that starts inside the headers or, coded, at or past the end of the file. An
// uncompressed file shorter than its rows opens: only its header is read here (see readBmpArea).
std::optional<BmpLayout> readBmpLayout(ByteReader& file);

}  // namespace slidewell::picture

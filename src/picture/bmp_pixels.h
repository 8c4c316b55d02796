#pragma once

#include <cstdint>
#include <vector>

#include "picture/bmp_header.h"

namespace slidewell::picture {

// Widens a field of `max` + 1 values to 8 bits: v x 255 / max, rounded to the nearest (a half up).
inline std::uint8_t widened(std::uint32_t value, std::uint32_t max) {
  return static_cast<std::uint8_t>((std::uint64_t{value} * 255 + max / 2) / max);
}

// The 8-bit sRGB value of a 64-bit pixel's colour sample: a signed fixed-point number with 13 bits of
// fraction (8192 is 1.0) in linear light, clamped to 0 to 1 and encoded with the sRGB curve.
std::uint8_t linearSampleToSrgb(std::int16_t sample);
// The 8-bit alpha of a 64-bit pixel's alpha sample (the same numbers, without the curve).
std::uint8_t linearSampleToAlpha(std::int16_t sample);

// Turns the stored pixels of an uncompressed bitmap into BGRA (alpha as stored, 255 where the file
// has none).
class StoredPixels {
 public:
  explicit StoredPixels(const BmpLayout& layout);

  // Converts `count` pixels, the first of which begins at bit `bit` (0 to 7, counting from the
  // highest) of `bytes[0]`.
  void convert(const std::uint8_t* bytes, unsigned bit, std::uint32_t count, Bgra* out) const;

 private:
  struct Field {
    std::uint32_t mask = 0;
    int shift = 0;
    std::vector<std::uint8_t> widened;  // each of the field's values on 8 bits
    std::uint8_t of(std::uint32_t pixel) const { return mask == 0 ? 0 : widened[(pixel & mask) >> shift]; }
  };

  const BmpLayout& layout_;
  bool plainBgr_ = false;  // 32-bit pixels whose masks are the bytes of BGRA
  std::array<Field, 4> fields_;
};

}  // namespace slidewell::picture

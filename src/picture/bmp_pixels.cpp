#include "picture/bmp_pixels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace slidewell::picture {
namespace {

constexpr int kOne = 8192;  // 1.0 in a 64-bit pixel's samples

std::uint32_t littleEndian(const std::uint8_t* bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count; i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

std::int16_t sampleAt(const std::uint8_t* bytes) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8));
}

// The commonest kind, and the show's largest cost after reading: four pixels at a time from three
// 32-bit words where a Bgra is such a word (little-endian), one at a time otherwise.
void copyBgr(const std::uint8_t* bytes, std::uint32_t count, Bgra* out) {
  std::uint32_t i = 0;
  if constexpr (std::endian::native == std::endian::little && sizeof(Bgra) == 4) {
    constexpr std::uint32_t kOpaque = 0xFF000000;
    for (; i + 4 <= count; i += 4, bytes += 12) {
      std::uint32_t w[3];
      std::memcpy(w, bytes, sizeof w);
      const std::uint32_t pixels[4] = {(w[0] & 0xFFFFFF) | kOpaque, (w[0] >> 24 | w[1] << 8) | kOpaque,
                                       (w[1] >> 16 | w[2] << 16) | kOpaque, w[2] >> 8 | kOpaque};
      std::memcpy(out + i, pixels, sizeof pixels);
    }
  }
  for (; i < count; ++i, bytes += 3) out[i] = Bgra{bytes[0], bytes[1], bytes[2], 255};
}

}  // namespace

std::uint8_t linearSampleToSrgb(std::int16_t sample) {
  static const std::vector<std::uint8_t> table = [] {
    std::vector<std::uint8_t> encoded(kOne + 1);
    for (int i = 0; i <= kOne; ++i) {
      const double linear = static_cast<double>(i) / kOne;
      const double srgb = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
      encoded[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::lround(std::clamp(srgb, 0.0, 1.0) * 255));
    }
    return encoded;
  }();
  return table[static_cast<std::size_t>(std::clamp<int>(sample, 0, kOne))];
}

std::uint8_t linearSampleToAlpha(std::int16_t sample) {
  return widened(static_cast<std::uint32_t>(std::clamp<int>(sample, 0, kOne)), kOne);
}

StoredPixels::StoredPixels(const BmpLayout& layout) : layout_(layout) {
  if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 32) return;
  plainBgr_ = layout.bitsPerPixel == 32 && layout.masks[0] == 0x00FF0000 && layout.masks[1] == 0x0000FF00 &&
              layout.masks[2] == 0x000000FF && (layout.masks[3] == 0xFF000000 || layout.masks[3] == 0);
  if (plainBgr_) return;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    Field& field = fields_[i];
    field.mask = layout.masks[i];
    if (field.mask == 0) continue;
    field.shift = std::countr_zero(field.mask);
    const std::uint32_t max = field.mask >> field.shift;  // at most 16 bits wide (see readBmpLayout)
    field.widened.resize(std::size_t{max} + 1);
    for (std::uint32_t v = 0; v <= max; ++v) field.widened[v] = widened(v, max);
  }
}

void StoredPixels::convert(const std::uint8_t* bytes, unsigned bit, std::uint32_t count, Bgra* out) const {
  const std::uint32_t bits = layout_.bitsPerPixel;
  if (bits <= 8) {
    const unsigned mask = (1u << bits) - 1;
    for (std::uint32_t i = 0; i < count; ++i, bit += bits) {
      bytes += bit / 8;
      bit %= 8;
      *out++ = layout_.palette[(*bytes >> (8 - bits - bit)) & mask];
    }
    return;
  }
  switch (bits) {
    case 24:
      copyBgr(bytes, count, out);
      return;
    case 64:
      for (std::uint32_t i = 0; i < count; ++i, bytes += 8) {
        *out++ = Bgra{linearSampleToSrgb(sampleAt(bytes)), linearSampleToSrgb(sampleAt(bytes + 2)),
                      linearSampleToSrgb(sampleAt(bytes + 4)), linearSampleToAlpha(sampleAt(bytes + 6))};
      }
      return;
    default:
      break;
  }
  if (plainBgr_) {
    const bool alpha = layout_.masks[3] != 0;
    for (std::uint32_t i = 0; i < count; ++i, bytes += 4) {
      *out++ = Bgra{bytes[0], bytes[1], bytes[2], alpha ? bytes[3] : std::uint8_t{255}};
    }
    return;
  }
  const int pixelBytes = static_cast<int>(bits / 8);
  for (std::uint32_t i = 0; i < count; ++i, bytes += pixelBytes) {
    const std::uint32_t pixel = littleEndian(bytes, pixelBytes);
    *out++ = Bgra{fields_[2].of(pixel), fields_[1].of(pixel), fields_[0].of(pixel),
                  fields_[3].mask == 0 ? std::uint8_t{255} : fields_[3].of(pixel)};
  }
}

}  // namespace slidewell::picture

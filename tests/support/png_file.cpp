#include "png_file.h"

#include <array>
#include <string_view>

namespace slidewell::testing_support {
namespace {

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t size) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
  putBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  putBigEndian(out, crc32(out.data() + start, out.size() - start));
}

// Deflate's bit order: fields from the lowest bit up, Huffman codes from their highest bit.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void code(std::uint32_t bits, int length) {
    for (int i = length - 1; i >= 0; --i) bit((bits >> i) & 1);
  }
  void field(std::uint32_t bits, int length) {
    for (int i = 0; i < length; ++i) bit((bits >> i) & 1);
  }
  void flush() {
    if (used_ != 0) out_.push_back(current_);
    used_ = 0;
    current_ = 0;
  }

 private:
  void bit(std::uint32_t value) {
    current_ = static_cast<std::uint8_t>(current_ | value << used_);
    if (++used_ == 8) flush();
  }
  std::vector<std::uint8_t>& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

// A zlib stream of `count` zero bytes: one block of fixed codes, a literal zero and then copies of
// 258 bytes from one byte back.
std::vector<std::uint8_t> zlibZeros(std::uint64_t count) {
  std::vector<std::uint8_t> out{0x78, 0x01};
  BitWriter bits(out);
  bits.field(1, 1);  // the last block
  bits.field(1, 2);  // fixed codes
  constexpr std::uint32_t kLiteralZero = 0x30;
  constexpr std::uint32_t kLength258 = 0xC5;
  std::uint64_t left = count;
  if (left > 0) {
    bits.code(kLiteralZero, 8);
    --left;
  }
  for (; left >= 258; left -= 258) {
    bits.code(kLength258, 8);
    bits.code(0, 5);  // distance 1
  }
  for (; left > 0; --left) bits.code(kLiteralZero, 8);
  bits.code(0, 7);  // end of block
  bits.flush();
  // Adler-32 of zeros: the byte sum stays 1, the sum of sums grows by 1 a byte.
  putBigEndian(out, static_cast<std::uint32_t>((count % 65521) << 16 | 1));
  return out;
}

}  // namespace

std::vector<std::uint8_t> blackPngBytes(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  putBigEndian(header, width);
  putBigEndian(header, height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter method, not interlaced
  putChunk(out, "IHDR", header);
  // Each row is its filter type (0, none) and its black pixels: all of it zeros.
  putChunk(out, "IDAT", zlibZeros(std::uint64_t{height} * (1 + std::uint64_t{width} * 3)));
  putChunk(out, "IEND", {});
  return out;
}

}  // namespace slidewell::testing_support

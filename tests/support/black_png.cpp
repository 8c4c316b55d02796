#include "black_png.h"

#include <array>
#include <utility>
#include <string_view>

namespace slidewell::testing_support {
namespace {

// Deflate's bit stream: fields from their lowest bit up, Huffman codes from their highest bit down.
class BitWriter {
 public:
  void field(std::uint32_t value, int bits) {
    for (int i = 0; i < bits; ++i) bit((value >> i) & 1u);
  }
  void code(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) bit((value >> i) & 1u);
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  void bit(std::uint32_t value) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (value << used_));
    used_ = (used_ + 1) % 8;
  }
  std::vector<std::uint8_t> bytes_;
  int used_ = 0;
};

// One dynamic-Huffman block of `count` zero bytes: a literal zero, then copies of the 258 bytes before
// (length symbol 285 and distance symbol 0, one bit each), then literal zeros for the rest.
// Literal/length code: 285 -> "0", 0 -> "10", 256 (end of block) -> "11". Distance code: 0 -> "0".
// Code-length code: 18 (a run of zeros) -> "0", 1 -> "10", 2 -> "11".
std::vector<std::uint8_t> deflatedZeros(std::uint64_t count) {
  BitWriter out;
  out.field(1, 1);   // the final block
  out.field(2, 2);   // dynamic Huffman codes
  out.field(29, 5);  // 286 literal/length code lengths
  out.field(0, 5);   // 1 distance code length
  out.field(14, 4);  // 18 code-length code lengths, in their fixed order:
  constexpr std::array<int, 18> kCodeLengthOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1};
  for (const int symbol : kCodeLengthOrder) out.field(symbol == 18 ? 1 : (symbol == 1 || symbol == 2) ? 2 : 0, 3);
  const auto zeroRun = [&](std::uint32_t run) {
    out.code(0, 1);
    out.field(run - 11, 7);
  };
  out.code(3, 2);  // symbol 0: length 2
  zeroRun(138);    // symbols 1 to 255
  zeroRun(117);
  out.code(3, 2);  // 256: length 2
  zeroRun(28);     // 257 to 284
  out.code(2, 2);  // 285: length 1
  out.code(2, 2);  // distance 0: length 1

  out.code(2, 2);  // the first zero
  std::uint64_t left = count - 1;
  for (; left >= 258; left -= 258) out.code(0, 2);
  for (; left > 0; --left) out.code(2, 2);
  out.code(3, 2);  // end of block
  return out.take();
}

std::uint32_t crc32(const std::vector<std::uint8_t>& bytes, std::size_t from) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& file, std::string_view type, const std::vector<std::uint8_t>& data) {
  putBigEndian(file, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = file.size();
  file.insert(file.end(), type.begin(), type.end());
  file.insert(file.end(), data.begin(), data.end());
  putBigEndian(file, crc32(file, typeAt));
}

}  // namespace

std::vector<std::uint8_t> blackPngBytes(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  putBigEndian(header, width);
  putBigEndian(header, height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits per sample, RGB, deflate, standard filters, no interlace
  putChunk(file, "IHDR", header);

  // Each row: its filter type (none) and three zero bytes a pixel.
  const std::uint64_t decodedSize = std::uint64_t{height} * (1 + std::uint64_t{width} * 3);
  std::vector<std::uint8_t> stream{0x78, 0x01};  // zlib: deflate, 32 KiB window, no dictionary
  const auto deflated = deflatedZeros(decodedSize);
  stream.insert(stream.end(), deflated.begin(), deflated.end());
  // The Adler-32 sum of zeros only: 1 in its low half, the count (mod 65521) in its high half.
  putBigEndian(stream, static_cast<std::uint32_t>((decodedSize % 65521u) << 16 | 1u));
  putChunk(file, "IDAT", stream);
  putChunk(file, "IEND", {});
  return file;
}

}  // namespace slidewell::testing_support

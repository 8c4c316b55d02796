#include "picture/byte_reader.h"

#include <algorithm>
#include <array>

namespace slidewell::picture {

std::size_t ByteReader::readUpTo(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset >= size_) return 0;
  out = out.first(static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_ - offset)));
  if (out.size() > kBlockBytes) return source_.readAt(offset, out);
  const bool inBlock = offset >= blockStart_ && offset - blockStart_ <= block_.size() &&
                       out.size() <= block_.size() - (offset - blockStart_);
  if (!inBlock) {
    block_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kBlockBytes, size_ - offset)));
    block_.resize(source_.readAt(offset, block_));
    blockStart_ = offset;
  }
  const std::uint64_t skip = offset - blockStart_;
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), block_.size() - skip));
  std::copy_n(block_.begin() + static_cast<std::ptrdiff_t>(skip), count, out.begin());
  return count;
}

std::optional<std::uint64_t> ByteReader::number(std::uint64_t offset, std::size_t bytes, ByteOrder order) {
  std::array<std::uint8_t, 8> digits{};
  if (bytes > digits.size() || !read(offset, std::span(digits.data(), bytes))) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value = value << 8 | digits[order == ByteOrder::Big ? i : bytes - 1 - i];
  return value;
}

bool ByteReader::startsWith(std::string_view signature) {
  std::array<std::uint8_t, 8> bytes{};
  if (signature.size() > bytes.size() || !read(0, std::span(bytes.data(), signature.size()))) return false;
  return std::equal(signature.begin(), signature.end(), bytes.begin(),
                    [](char wanted, std::uint8_t got) { return static_cast<std::uint8_t>(wanted) == got; });
}

}  // namespace slidewell::picture

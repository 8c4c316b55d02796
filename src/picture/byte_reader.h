#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "picture/byte_source.h"

namespace slidewell::picture {

enum class ByteOrder { Little, Big };

// How every parser of a picture file reads it: the file's size is asked once, no byte past it is ever
// asked of the source, and small reads (a header's fields, a palette) are served from one block of
// kBlockBytes read at once, since on a slow drive every call counts. Pixels, read once each, go
// straight to the source with readDirect, so that exactly the bytes wanted are read.
class ByteReader {
 public:
  static constexpr std::size_t kBlockBytes = 4096;

  explicit ByteReader(const ByteSource& source) : source_(source), size_(source.size()) {}
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  const ByteSource& source() const { return source_; }
  std::uint64_t size() const { return size_; }
  // Whether [offset, offset + length) lies inside the file.
  bool holds(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

  // Fills `out` with the bytes at `offset`, through the block when `out` fits one. False when the
  // file ends first; then only the bytes inside the file were asked for, and `out` begins with them.
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) { return readUpTo(offset, out) == out.size(); }
  // The same, giving how many bytes were read: fewer at the end of the file.
  std::size_t readUpTo(std::uint64_t offset, std::span<std::uint8_t> out);
  // Fills `out` straight from the source, without the block. False, without asking the source for
  // anything, when the bytes wanted do not all lie inside the file.
  bool readDirect(std::uint64_t offset, std::span<std::uint8_t> out) const {
    return holds(offset, out.size()) && source_.readAt(offset, out) == out.size();
  }

  // An unsigned number of `bytes` bytes (at most 8) at `offset`, or nothing when the file ends first.
  std::optional<std::uint64_t> number(std::uint64_t offset, std::size_t bytes, ByteOrder order = ByteOrder::Little);
  bool startsWith(std::string_view signature);

 private:
  const ByteSource& source_;
  std::uint64_t size_;
  std::vector<std::uint8_t> block_;
  std::uint64_t blockStart_ = 0;
};

}  // namespace slidewell::picture

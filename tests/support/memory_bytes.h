#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "picture/byte_source.h"

namespace slidewell::testing_support {

// A file's bytes held in memory, keeping how many of them were read and where each read was asked for.
class MemoryBytes : public picture::ByteSource {
 public:
  struct Read {
    std::uint64_t offset;
    std::size_t size;
    bool operator==(const Read&) const = default;
  };

  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    reads_.push_back(Read{offset, out.size()});
    if (offset >= bytes_.size()) return 0;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), bytes_.size() - offset));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
    bytesRead_ += count;
    return count;
  }

  std::uint64_t bytesRead() const { return bytesRead_; }
  const std::vector<Read>& reads() const { return reads_; }

 private:
  std::span<const std::uint8_t> bytes_;
  mutable std::uint64_t bytesRead_ = 0;
  mutable std::vector<Read> reads_;
};

}  // namespace slidewell::testing_support

#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "picture/byte_source.h"

namespace slidewell::testing_support {

// A file's bytes held in memory, keeping how many of them were read and where each read was asked for.
// A read asked for bytes past the end fails as a whole and is counted: the program's readers must
// bound every read by the file's size, so a test or fuzz target that sees one has found a fault.
class MemoryBytes : public picture::ByteSource {
 public:
  struct Read {
    std::uint64_t offset;
    std::size_t size;
    bool operator==(const Read&) const = default;
  };

  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    reads_.push_back(Read{offset, out.size()});
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
      ++readsOutside_;
      return 0;
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    bytesRead_ += out.size();
    return out.size();
  }

  std::uint64_t bytesRead() const { return bytesRead_; }
  const std::vector<Read>& reads() const { return reads_; }
  // How many reads asked for bytes outside the file.
  std::uint64_t readsOutside() const { return readsOutside_; }

 private:
  std::span<const std::uint8_t> bytes_;
  mutable std::uint64_t bytesRead_ = 0;
  mutable std::uint64_t readsOutside_ = 0;
  mutable std::vector<Read> reads_;
};

}  // namespace slidewell::testing_support

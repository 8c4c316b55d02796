#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace slidewell::picture {

// Bytes of a file read where they are wanted, so that a header's pointers can be followed without
// reading what lies between them.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Fills `out` from `offset` on; gives how many bytes were there (fewer at the end of the file, 0 on
  // a failed read).
  virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

}  // namespace slidewell::picture

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/byte_source.h"
#include "win/handles.h"

namespace slidewell::win {

// A file opened to read bytes where they are wanted, such as a picture's header before a decoder is
// given the file. Others may read, write, rename or delete the file meanwhile. A file that cannot be
// opened reads as empty.
class FileBytes : public picture::ByteSource {
 public:
  explicit FileBytes(const std::wstring& path);

  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  UniqueFileHandle file_;
  // The block last read: headers are read a few bytes at a time, mostly within their first block,
  // and on a slow drive every read counts.
  mutable std::vector<std::uint8_t> block_;
  mutable std::uint64_t blockStart_ = 0;
};

}  // namespace slidewell::win

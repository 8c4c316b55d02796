#pragma once

#include <objidl.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "picture/byte_source.h"
#include "picture/read_progress.h"
#include "win/com.h"
#include "win/handles.h"

namespace slidewell::win {

// A file opened to read bytes where they are wanted, such as a picture's header before a decoder is
// given the file. Others may read, write, rename or delete the file meanwhile. A file that cannot be
// opened reads as empty. Every call on the file system is marked on `progress` (when given), and a
// long read is made in calls of at most kCallBytes, so that a slow but moving read shows as moving.
class FileBytes : public picture::ByteSource {
 public:
  static constexpr std::size_t kCallBytes = 64 * 1024;

  explicit FileBytes(const std::wstring& path, picture::ReadProgress* progress = nullptr);

  bool opened() const { return static_cast<bool>(file_); }
  // The file's length in bytes; 0 when it cannot be told.
  std::uint64_t size() const;
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  std::size_t readDirect(std::uint64_t offset, std::span<std::uint8_t> out) const;

  picture::ReadProgress* progress_;
  UniqueFileHandle file_;
  // The block last read: headers are read a few bytes at a time, mostly within their first block,
  // and on a slow drive every read counts.
  mutable std::vector<std::uint8_t> block_;
  mutable std::uint64_t blockStart_ = 0;
};

// A read-only stream over `file`, for giving a decoder a file through reads that mark their progress
// (see FileBytes); writing, locking and cloning are refused. Null when no memory is to be had.
UniqueCom<IStream> fileStream(std::unique_ptr<FileBytes> file);

}  // namespace slidewell::win

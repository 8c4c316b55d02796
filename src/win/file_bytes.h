#pragma once

#include <objidl.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "picture/byte_source.h"
#include "picture/read_progress.h"
#include "win/com.h"
#include "win/handles.h"

namespace slidewell::win {

// A file opened to read bytes where they are wanted, such as a picture's header before a decoder is
// given the file, or the rows of a bitmap that are shown. Each read asks the file system for exactly
// the bytes wanted (picture::ByteReader keeps a block for small reads). Others may read, write, rename
// or delete the file meanwhile. A file that cannot be opened reads as empty. Every call on the file
// system is marked on `progress` (when given), and a long read is made in calls of at most kCallBytes,
// so that a slow but moving read shows as moving. Reads move the file's own pointer: one FileBytes is
// read from one thread at a time.
class FileBytes : public picture::ByteSource {
 public:
  static constexpr std::size_t kCallBytes = 64 * 1024;

  explicit FileBytes(const std::wstring& path, picture::ReadProgress* progress = nullptr);

  bool opened() const { return static_cast<bool>(file_); }
  std::uint64_t size() const override;
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  picture::ReadProgress* progress_;
  UniqueFileHandle file_;
};

// A read-only stream over the bytes [offset, offset + length) of `file` (a picture stored inside a
// bitmap, or the whole file), for giving a decoder a file through reads that mark their progress (see
// FileBytes), small ones served from a block; writing, locking and cloning are refused. Null when no
// memory is to be had.
UniqueCom<IStream> fileStream(std::unique_ptr<FileBytes> file, std::uint64_t offset, std::uint64_t length);

}  // namespace slidewell::win

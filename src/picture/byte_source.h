#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace slidewell::picture {

// Bytes of a file read where they are wanted, so that a header's pointers can be followed without
// reading what lies between them. Its readers ask only for bytes inside size() (see ByteReader).
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The file's length in bytes, as it was when asked; 0 when it cannot be told.
  virtual std::uint64_t size() const = 0;
  // Fills `out` from `offset` on; gives how many bytes were there (fewer when the file has shrunk
  // since size() was asked, 0 on a failed read).
  virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

// The bytes [offset, offset + length) of another source, as a source of their own: a picture of
// another format stored inside a bitmap file.
class ByteRange final : public ByteSource {
 public:
  ByteRange(const ByteSource& whole, std::uint64_t offset, std::uint64_t length)
      : whole_(whole), offset_(offset), length_(length) {}

  std::uint64_t size() const override { return length_; }
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    return whole_.readAt(offset_ + offset, out);
  }

 private:
  const ByteSource& whole_;
  std::uint64_t offset_;
  std::uint64_t length_;
};

}  // namespace slidewell::picture

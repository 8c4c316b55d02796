#include "win/file_bytes.h"

#include <algorithm>

namespace slidewell::win {
namespace {

constexpr std::size_t kBlockBytes = 4096;

std::size_t readFileAt(HANDLE file, std::uint64_t offset, std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset + done);
    at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, kBlockBytes * 256));
    DWORD got = 0;
    if (!ReadFile(file, out.data() + done, wanted, &got, &at) || got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace

FileBytes::FileBytes(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

std::size_t FileBytes::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!file_) return 0;
  if (out.size() > kBlockBytes) return readFileAt(file_.get(), offset, out);
  const bool inBlock = offset >= blockStart_ && offset - blockStart_ + out.size() <= block_.size();
  if (!inBlock) {
    block_.resize(kBlockBytes);
    block_.resize(readFileAt(file_.get(), offset, block_));
    blockStart_ = offset;
  }
  const std::uint64_t skip = offset - blockStart_;
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), block_.size() - skip));
  std::copy_n(block_.begin() + static_cast<std::ptrdiff_t>(skip), count, out.begin());
  return count;
}

}  // namespace slidewell::win

#include "win/file_bytes.h"

#include <algorithm>

namespace slidewell::win {
namespace {

constexpr std::size_t kBlockBytes = 4096;

HANDLE openForReading(const std::wstring& path, picture::ReadProgress* progress) {
  const picture::ReadProgress::Call call(progress);
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FileBytes::FileBytes(const std::wstring& path, picture::ReadProgress* progress)
    : progress_(progress), file_(openForReading(path, progress)) {}

std::uint64_t FileBytes::size() const {
  LARGE_INTEGER length{};
  const picture::ReadProgress::Call call(progress_);
  if (!file_ || !GetFileSizeEx(file_.get(), &length) || length.QuadPart < 0) return 0;
  return static_cast<std::uint64_t>(length.QuadPart);
}

std::size_t FileBytes::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!file_) return 0;
  if (out.size() > kBlockBytes) return readDirect(offset, out);
  const bool inBlock = offset >= blockStart_ && offset - blockStart_ + out.size() <= block_.size();
  if (!inBlock) {
    block_.resize(kBlockBytes);
    block_.resize(readDirect(offset, block_));
    blockStart_ = offset;
  }
  const std::uint64_t skip = offset - blockStart_;
  if (skip >= block_.size()) return 0;  // past the end of the file
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), block_.size() - skip));
  std::copy_n(block_.begin() + static_cast<std::ptrdiff_t>(skip), count, out.begin());
  return count;
}

std::size_t FileBytes::readDirect(std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::size_t done = 0;
  while (done < out.size()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset + done);
    at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
    const auto wanted = static_cast<DWORD>(std::min(out.size() - done, kCallBytes));
    DWORD got = 0;
    const picture::ReadProgress::Call call(progress_);
    if (!ReadFile(file_.get(), out.data() + done, wanted, &got, &at) || got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace slidewell::win

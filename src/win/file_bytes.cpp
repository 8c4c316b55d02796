#include "win/file_bytes.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <new>
#include <span>
#include <utility>

#include "picture/byte_reader.h"

namespace slidewell::win {
namespace {

HANDLE openForReading(const std::wstring& path, picture::ReadProgress* progress) {
  const picture::ReadProgress::Call call(progress);
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class FileStream final : public IStream {
 public:
  FileStream(std::unique_ptr<FileBytes> file, std::uint64_t offset, std::uint64_t length)
      : file_(std::move(file)), range_(*file_, offset, length), bytes_(range_) {}
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
      *object = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Read(void* out, ULONG wanted, ULONG* got) override {
    if (out == nullptr) return STG_E_INVALIDPOINTER;
    const std::size_t count = bytes_.readUpTo(position_, std::span(static_cast<std::uint8_t*>(out), wanted));
    position_ += count;
    if (got != nullptr) *got = static_cast<ULONG>(count);
    return count == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }

  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* reached) override {
    LONGLONG base = 0;
    if (origin == STREAM_SEEK_CUR)
      base = static_cast<LONGLONG>(position_);
    else if (origin == STREAM_SEEK_END)
      base = static_cast<LONGLONG>(bytes_.size());
    else if (origin != STREAM_SEEK_SET)
      return STG_E_INVALIDFUNCTION;
    // Beyond either end of a signed 64-bit position is no place in any file.
    if ((move.QuadPart > 0 && base > LLONG_MAX - move.QuadPart) || base + move.QuadPart < 0) {
      return STG_E_INVALIDFUNCTION;
    }
    position_ = static_cast<std::uint64_t>(base + move.QuadPart);
    if (reached != nullptr) reached->QuadPart = position_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (stat == nullptr) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_.size();
    stat->grfMode = STGM_READ | STGM_SHARE_DENY_NONE;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override {
    if (copy != nullptr) *copy = nullptr;
    return E_NOTIMPL;
  }

 private:
  ~FileStream() = default;  // released, never deleted from outside

  std::atomic<ULONG> references_{1};
  std::unique_ptr<FileBytes> file_;
  picture::ByteRange range_;
  picture::ByteReader bytes_;
  std::uint64_t position_ = 0;
};

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
  if (!file_ || offset > static_cast<std::uint64_t>(LLONG_MAX)) return 0;
  // The file pointer is moved, then read from, rather than each read given its place: under Wine a
  // read given its place (OVERLAPPED) costs some 40 us, the two calls some 2 us, and a bitmap's rows
  // cost a read each.
  LARGE_INTEGER place{};
  place.QuadPart = static_cast<LONGLONG>(offset);
  {
    const picture::ReadProgress::Call call(progress_);
    if (!SetFilePointerEx(file_.get(), place, nullptr, FILE_BEGIN)) return 0;
  }
  std::size_t done = 0;
  while (done < out.size()) {
    const auto wanted = static_cast<DWORD>(std::min(out.size() - done, kCallBytes));
    DWORD got = 0;
    const picture::ReadProgress::Call call(progress_);
    if (!ReadFile(file_.get(), out.data() + done, wanted, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

UniqueCom<IStream> fileStream(std::unique_ptr<FileBytes> file, std::uint64_t offset, std::uint64_t length) {
  return UniqueCom<IStream>(new (std::nothrow) FileStream(std::move(file), offset, length));
}

}  // namespace slidewell::win

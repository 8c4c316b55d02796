#include "win/file_stream.h"

#include <atomic>
#include <climits>
#include <new>
#include <span>
#include <utility>

namespace slidewell::win {
namespace {

class FileStream final : public IStream {
 public:
  explicit FileStream(std::unique_ptr<FileBytes> file) : file_(std::move(file)), size_(file_->size()) {}
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
    const std::size_t count = file_->readAt(position_, std::span(static_cast<std::uint8_t*>(out), wanted));
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
      base = static_cast<LONGLONG>(size_);
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
    stat->cbSize.QuadPart = size_;
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
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};

}  // namespace

UniqueCom<IStream> fileStream(std::unique_ptr<FileBytes> file) {
  return UniqueCom<IStream>(new (std::nothrow) FileStream(std::move(file)));
}

}  // namespace slidewell::win

#pragma once

#include <windows.h>

#include <utility>

namespace slidewell::win {

// One owner for one handle: move-only, frees on destruction. Traits supply the empty value and the
// function that frees, so every handle type (registry key, bitmap, DC, file...) is owned the same way.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

  Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }

  void reset(Handle handle = Traits::empty()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::empty()) Traits::close(old);
  }

  // For functions that hand out a new handle through a pointer: frees what is held first.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::empty();
};

// The traits of a handle kind, from the function that frees it; null is "no handle".
template <typename H, auto Close>
struct ClosedBy {
  using Handle = H;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { Close(handle); }
};
template <typename H, auto Close>
using Unique = UniqueHandle<ClosedBy<H, Close>>;

// Files and directory searches say "no handle" with INVALID_HANDLE_VALUE, not null.
template <auto Close>
struct ClosedByOrInvalid : ClosedBy<HANDLE, Close> {
  static HANDLE empty() noexcept { return INVALID_HANDLE_VALUE; }
};

inline void enableAgain(HWND window) noexcept { EnableWindow(window, TRUE); }

using UniqueRegistryKey = Unique<HKEY, RegCloseKey>;
using UniqueKernelHandle = Unique<HANDLE, CloseHandle>;
using UniqueFileHandle = UniqueHandle<ClosedByOrInvalid<CloseHandle>>;  // from CreateFileW
using UniqueFindHandle = UniqueHandle<ClosedByOrInvalid<FindClose>>;    // from FindFirstFileExW
using UniqueIcon = Unique<HICON, DestroyIcon>;
// A window kept disabled while a window it owns stands in for it, as a modal dialog keeps its owner: held
// from EnableWindow(FALSE), enabled again when let go.
using DisabledWindow = Unique<HWND, enableAgain>;

// While it lives, touching a drive without a medium (or one that is gone) makes the call fail instead of
// putting up the system's "insert a disk" box, which would block the window until the user answered it.
// For this thread only, so that another thread's calls are left as they were.
class QuietDriveErrors {
 public:
  QuietDriveErrors() noexcept {
    ok_ = SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &previous_) != FALSE;
  }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;
  ~QuietDriveErrors() {
    if (ok_) SetThreadErrorMode(previous_, nullptr);
  }

 private:
  DWORD previous_ = 0;
  bool ok_ = false;
};

}  // namespace slidewell::win

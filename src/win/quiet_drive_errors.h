#pragma once

#include <windows.h>

namespace slidewell::win {

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

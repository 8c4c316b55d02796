#pragma once

#include <windows.h>

namespace slidewell::setup {

// While it lives, touching a drive without a medium (or one that is gone) makes the call fail instead of
// putting up the system's error box, which would block the dialog until the user answered it.
class QuietDriveErrors {
 public:
  QuietDriveErrors() noexcept : previous_(GetErrorMode()) { SetErrorMode(previous_ | SEM_FAILCRITICALERRORS); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;
  ~QuietDriveErrors() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

}  // namespace slidewell::setup

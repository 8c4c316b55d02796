#pragma once

#include <windows.h>

#include <optional>

namespace slidewell::e2e {

// Makes this test program see the windows of other programs in physical pixels, whatever DPI they are
// laid out at (otherwise the system would scale what it reports about them to this program's DPI).
void seePhysicalPixels();

// The DPI that Wine gives to the programs started while this object lives: the LogPixels value under
// HKEY_CURRENT_USER\Control Panel\Desktop, put back as it was when the object goes.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi);
  ScopedLogPixels(const ScopedLogPixels&) = delete;
  ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
  ~ScopedLogPixels();

 private:
  std::optional<DWORD> previous_;
};

}  // namespace slidewell::e2e

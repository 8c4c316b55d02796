#pragma once

#include <windows.h>

#include "win/handles.h"

namespace slidewell::setup {

// The program's icon for a window's title bar (small) and for Alt+Tab (big), at the sizes the
// platform uses at `dpi`: 16 and 32 pixels at 96 DPI, and a larger image of the icon at more.
class WindowIcons {
 public:
  WindowIcons(HINSTANCE instance, UINT dpi);

  // Gives both to `window`, which shows them from then on; the previous ones may then go.
  void applyTo(HWND window) const;

 private:
  win::UniqueIcon small_;
  win::UniqueIcon big_;
};

}  // namespace slidewell::setup

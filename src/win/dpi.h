#pragma once

#include <windows.h>

namespace slidewell::win {

// The logical DPI of the monitor the window is on (96 is 100 %). Uses the newest way the system offers,
// found at run time, and falls back to the screen's DPI on systems without per-monitor DPI.
UINT windowDpi(HWND window);

// The window rectangle whose client area is `client`, with a frame and caption measured at `dpi`.
RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace slidewell::win

#pragma once

#include <windows.h>

namespace slidewell::win {

// What the program finds out about the system it runs on at run time: libraries and functions that not
// every version has, the common controls, and the DPI of a window.

// A library of the system, loaded from the system folder only, so that no file of that name beside the
// program is taken for it. It stays loaded for the rest of the process. Null when it cannot be had.
HMODULE systemLibrary(const wchar_t* name);

// A function of `module` by name, at its own type; null when the module or the function is not on this
// system. For functions newer than the oldest system the program runs on.
template <typename Function>
Function systemFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Through the generic function pointer type, which every function pointer type converts to and back,
  // and which the compilers take as a deliberate cast.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Registers the common control classes named by `classes` (ICC_ flags) for this process; false when the
// library could not be had. The library is loaded here, by the window that uses it, and not when the
// program starts: loading it takes a start tens of milliseconds, which the show, using none of it, is
// spared.
bool loadCommonControls(DWORD classes);

// The logical DPI of the monitor the window is on (96 is 100 %). Uses the newest way the system offers,
// found at run time, and falls back to the screen's DPI on systems without per-monitor DPI.
UINT windowDpi(HWND window);

// The window rectangle whose client area is `client`, with a frame and caption measured at `dpi`.
RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace slidewell::win

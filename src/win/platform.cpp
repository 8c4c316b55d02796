#include "win/platform.h"

#include <commctrl.h>

#include "win/gdi.h"

namespace slidewell::win {
namespace {

constexpr UINT kDefaultDpi = 96;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

HMODULE user32() { return GetModuleHandleW(L"user32.dll"); }

// shcore.dll exists from Windows 8.1 on.
HMODULE shcore() {
  static const HMODULE module = systemLibrary(L"shcore.dll");
  return module;
}

UINT screenDpi(HWND window) {
  const WindowDc dc(window);
  if (dc.get() == nullptr) return 0;
  const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSX);
  return dpi > 0 ? static_cast<UINT>(dpi) : 0;
}

}  // namespace

HMODULE systemLibrary(const wchar_t* name) {
  // The flag is unknown to systems without the safer search, which then search as for an import.
  const HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) return LoadLibraryW(name);
  return library;
}

bool loadCommonControls(DWORD classes) {
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initialise =
      systemFunction<InitCommonControlsExFunction>(systemLibrary(L"comctl32.dll"), "InitCommonControlsEx");
  if (initialise == nullptr) return false;
  const INITCOMMONCONTROLSEX request{sizeof request, classes};
  return initialise(&request) != FALSE;
}

UINT windowDpi(HWND window) {
  static const auto getDpiForWindow = systemFunction<GetDpiForWindowFunction>(user32(), "GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
  }
  static const auto getDpiForMonitor = systemFunction<GetDpiForMonitorFunction>(shcore(), "GetDpiForMonitor");
  if (getDpiForMonitor != nullptr) {
    UINT x = 0;
    UINT y = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x != 0) return x;
  }
  const UINT dpi = screenDpi(window);
  return dpi != 0 ? dpi : kDefaultDpi;
}

RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi =
      systemFunction<AdjustWindowRectExForDpiFunction>(user32(), "AdjustWindowRectExForDpi");
  RECT frame = client;
  if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, FALSE, exStyle, dpi)) {
    frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  return frame;
}

}  // namespace slidewell::win

#include "controls.h"

namespace slidewell::e2e {

HWND controlOf(HWND window, setup::ControlId id) { return GetDlgItem(window, static_cast<int>(id)); }

POINT centreOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT screenPointAt(HWND window, int leftTwips, int topTwips, int dpi) {
  POINT point{setup::twipsToPixels(leftTwips, dpi), setup::twipsToPixels(topTwips, dpi)};
  ClientToScreen(window, &point);
  return point;
}

HWND focusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::wstring classNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

LONG_PTR styleOf(HWND control) { return GetWindowLongPtrW(control, GWL_STYLE); }

}  // namespace slidewell::e2e

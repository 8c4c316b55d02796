#pragma once

#include <windows.h>

namespace slidewell::win {

// Windows as small objects: the object travels as the creation parameter, is attached to its window at
// WM_NCCREATE and is found again through GWLP_USERDATA, so that no window state lives in statics.
// `Object` provides attach(HWND), detach() and handle(UINT, WPARAM, LPARAM); messages that arrive
// before WM_NCCREATE or after WM_NCDESTROY get the default handling.
template <typename Object>
LRESULT CALLBACK objectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    object = static_cast<Object*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    if (object != nullptr) object->attach(window);
  }
  if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    object->detach();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return object->handle(message, wParam, lParam);
}

}  // namespace slidewell::win

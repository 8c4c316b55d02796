#include "win/window_object.h"

namespace slidewell::win {

WindowObject::~WindowObject() {
  if (window_ == nullptr) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

bool WindowObject::create(HINSTANCE instance, const WindowClass& windowClass, const WindowShape& shape) {
  WNDCLASSEXW registration{};
  registration.cbSize = sizeof registration;
  registration.lpfnWndProc = procedure;
  registration.hInstance = instance;
  registration.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  registration.hbrBackground = windowClass.background;
  registration.lpszClassName = windowClass.name;
  if (RegisterClassExW(&registration) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  const RECT& place = shape.place;
  CreateWindowExW(shape.exStyle, windowClass.name, shape.title, shape.style, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, shape.parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(shape.id)), instance, this);
  return window_ != nullptr;
}

void WindowObject::destroy() noexcept {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK WindowObject::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* object = reinterpret_cast<WindowObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    object = static_cast<WindowObject*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    if (object != nullptr) object->window_ = window;
  }
  if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    object->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // No exception may cross the system's code that called in; a message whose handling failed (no memory,
  // say) is left to the default handling, and a window that cannot be made is not made.
  try {
    return object->onMessage(message, wParam, lParam);
  } catch (...) {
    return message == WM_CREATE ? -1 : DefWindowProcW(window, message, wParam, lParam);
  }
}

void runMessageLoop(const WindowObject& window, const std::function<bool(MSG&)>& takenFirst) {
  MSG message{};
  while (window.hwnd() != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (takenFirst && takenFirst(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace slidewell::win

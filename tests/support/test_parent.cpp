#include "test_parent.h"

#include "win/window_text.h"

namespace slidewell::testing_support {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellTestParent";

}  // namespace

TestParent::TestParent() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // already registered by an earlier case: that one serves
  hwnd_ = CreateWindowExW(0, kClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
}

TestParent::~TestParent() { DestroyWindow(hwnd_); }

HWND TestParent::createChild(const wchar_t* className, DWORD style, int id, int width, int height) const {
  const HWND child = CreateWindowExW(0, className, L"", WS_CHILD | style, 0, 0, width, height, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

LRESULT CALLBACK TestParent::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_COMMAND && self != nullptr) {
    self->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

RECT rectInClient(HWND window, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<std::wstring> listBoxTexts(HWND list) {
  std::vector<std::wstring> texts;
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) texts.push_back(win::listItemText(list, i));
  return texts;
}

}  // namespace slidewell::testing_support

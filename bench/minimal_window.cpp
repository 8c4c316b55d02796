// The floor of starting a program here: a window over the whole screen, in one colour that is not
// black, and nothing else. It runs until it is closed or ended. Given "grey" it paints grey instead of
// white, so that one start can be told from the last one's picture left on screen.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground =
      static_cast<HBRUSH>(GetStockObject(std::wcsstr(arguments, L"grey") != nullptr ? GRAY_BRUSH : WHITE_BRUSH));
  windowClass.lpszClassName = L"SlidewellBenchMinimal";
  if (RegisterClassExW(&windowClass) == 0) return 1;
  const HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                      GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                      nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  UpdateWindow(window);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

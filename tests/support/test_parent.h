#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace slidewell::testing_support {

// A hidden top-level window to hold the controls under test; it records the notifications they send.
class TestParent {
 public:
  TestParent();
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;
  ~TestParent();

  HWND hwnd() const { return hwnd_; }
  // A child control of the given class and style (WS_CHILD added), in the dialog's default font.
  HWND createChild(const wchar_t* className, DWORD style, int id, int width = 200, int height = 200) const;

  // (control id, notification code) of every WM_COMMAND received, oldest first.
  std::vector<std::pair<int, int>> commands;

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The control's window rectangle relative to the top-left corner of `window`'s client area.
RECT rectInClient(HWND window, HWND control);

// The strings of a list box, top to bottom.
std::vector<std::wstring> listBoxTexts(HWND list);

}  // namespace slidewell::testing_support

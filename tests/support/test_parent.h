#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "setup/dialog/dialog_layout.h"
#include "setup/dialog/preview_image.h"
#include "win/window_object.h"

namespace slidewell::testing_support {

// A hidden top-level window to hold the controls under test; it records the notifications they send.
class TestParent final : public win::WindowObject {
 public:
  TestParent();
  ~TestParent();

  // The dialog's control `id`, made and placed as the dialog makes it at 96 DPI, in the default GUI font.
  HWND createControl(setup::ControlId id);

  // (control id, notification code) of every WM_COMMAND received, oldest first.
  std::vector<std::pair<int, int>> commands;

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  setup::PreviewImage image_;  // for the preview box, should a test make one
};

// The control's window rectangle relative to the top-left corner of `window`'s client area.
RECT rectInClient(HWND window, HWND control);

// The strings of a list box, top to bottom.
std::vector<std::wstring> listBoxTexts(HWND list);

}  // namespace slidewell::testing_support

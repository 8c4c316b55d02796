#pragma once

#include <windows.h>

#include <string>

#include "setup/dialog/dialog_layout.h"
#include "test_parent.h"

namespace slidewell::e2e {

// The control with that id on a window of the program under test.
HWND controlOf(HWND window, setup::ControlId id);

using testing_support::rectInClient;

// Where the pointer goes to be over `control`: its centre, in screen coordinates.
POINT centreOf(HWND control);
// A point of `window`'s client area, given in twips as the layout table gives places, in screen
// coordinates; `dpi` is the DPI the window is laid out at.
POINT screenPointAt(HWND window, int leftTwips, int topTwips, int dpi);

// The window that has the keyboard focus in the thread owning `window` (the focus of another process).
HWND focusOf(HWND window);

// The window class of a window of any process.
std::wstring classNameOf(HWND window);

// The style bits of a window of another process.
LONG_PTR styleOf(HWND control);

}  // namespace slidewell::e2e

#pragma once

#include <windows.h>

#include "setup/dialog/dialog_layout.h"
#include "setup/dialog/preview_image.h"

namespace slidewell::setup {

// The dialog's control for `id`: the one way every part of the dialog finds a control.
inline HWND dialogItem(HWND dialog, ControlId id) { return GetDlgItem(dialog, static_cast<int>(id)); }

// Creates the platform control for one entry of the layout table as a child of `dialog`, with its
// caption, initial settings and name for screen readers; its rectangle comes from placeControl. Each
// new control goes to the end of the window order. The image entry becomes `image`.
HWND createControl(HWND dialog, const ControlLayout& layout, HINSTANCE instance, PreviewImage& image);

// Puts the control at its window's place at `dpi`. Call it after the control has its font: a drop-down list
// sizes its closed box from the font, and is then brought to the table's height.
void placeControl(HWND control, const ControlLayout& layout, UINT dpi);

}  // namespace slidewell::setup

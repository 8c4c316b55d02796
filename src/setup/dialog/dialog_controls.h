#pragma once

#include <windows.h>

#include "setup/dialog/dialog_layout.h"
#include "setup/dialog/preview_image.h"

namespace slidewell::setup {

// The dialog's control for `id`: the one way every part of the dialog finds a control.
inline HWND dialogItem(HWND dialog, ControlId id) { return GetDlgItem(dialog, static_cast<int>(id)); }

// Creates the platform control for one entry of the layout table as a child of `dialog`, with its
// caption and initial settings; its rectangle comes from placeControl. The image entry becomes `image`.
HWND createControl(HWND dialog, const ControlLayout& layout, HINSTANCE instance, PreviewImage& image);

// Labels and the image lie beneath the other controls, as elements without a window of their own would.
// Call it once every control exists, since each new control goes to the bottom. They never take the
// focus, so where they stand in the z-order does not touch the tab order.
void lowerIfWindowless(HWND control, const ControlLayout& layout);

// Puts the control at its place at `dpi`. Call it after the control has its font: a drop-down list
// sizes its closed box from the font, and is then brought to the table's height.
void placeControl(HWND control, const ControlLayout& layout, UINT dpi);

}  // namespace slidewell::setup

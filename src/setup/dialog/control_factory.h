#pragma once

#include <windows.h>

#include "setup/dialog/dialog_layout.h"
#include "setup/dialog/preview_image.h"
#include "win/gdi.h"

namespace slidewell::setup {

// Making the dialog's controls: each one from its entry of the layout table, with its font, its name for
// screen readers and its place.

// The dialog's control for `id`: the one way every part of the dialog finds a control.
inline HWND dialogItem(HWND dialog, ControlId id) { return GetDlgItem(dialog, static_cast<int>(id)); }

// Creates the platform control for one entry of the layout table as a child of `dialog`, with its
// caption, initial settings and name for screen readers; its rectangle comes from placeControl. Each
// new control goes to the end of the window order. The image entry becomes `image`.
HWND createControl(HWND dialog, const ControlLayout& layout, HINSTANCE instance, PreviewImage& image);

// Puts the control at its window's place at `dpi`. Call it after the control has its font: a drop-down list
// sizes its closed box from the font, and is then brought to the table's height.
void placeControl(HWND control, const ControlLayout& layout, UINT dpi);

// The toolkit's default dialog font, the one of the stock DEFAULT_GUI_FONT ("MS Shell Dlg", 8 points),
// at `dpi`. Of the platform's default dialog fonts it is the narrowest, the one the layout's widths
// suit; "MS Shell Dlg 2" (Tahoma) is wider. Every control of the setup dialog receives this one font
// from the dialog.
win::UniqueFont createDialogFont(UINT dpi);

}  // namespace slidewell::setup

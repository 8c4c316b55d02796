#pragma once

#include <windows.h>

#include "win/gdi.h"

namespace slidewell::setup {

// The toolkit's default dialog font, the one of the stock DEFAULT_GUI_FONT ("MS Shell Dlg", 8 points),
// at `dpi`. Of the platform's default dialog fonts it is the narrowest, the one the layout's widths
// suit; "MS Shell Dlg 2" (Tahoma) is wider. Every control of the setup dialog receives this one font
// from the dialog.
win::UniqueFont createDialogFont(UINT dpi);

}  // namespace slidewell::setup

#pragma once

#include <windows.h>

#include "win/gdi.h"

namespace slidewell::setup {

// The toolkit's default dialog font, the one a dialog declared with DS_SHELLFONT gets ("MS Shell Dlg 2",
// 8 points), at `dpi`. Every control of the setup dialog receives this one font from the dialog.
win::UniqueFont createDialogFont(UINT dpi);

}  // namespace slidewell::setup

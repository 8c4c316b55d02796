#pragma once

#include <windows.h>

namespace slidewell::win {

// Registers the common control classes named by `classes` (ICC_ flags) for this process; false when the
// library could not be had. The library is loaded here, by the window that uses it, and not when the
// program starts: loading it takes a start tens of milliseconds, which the show, using none of it, is
// spared. It stays loaded for the rest of the process.
bool loadCommonControls(DWORD classes);

}  // namespace slidewell::win

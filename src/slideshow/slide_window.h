#pragma once

#include <windows.h>

namespace slidewell {

// Runs the full-screen slide show until the user ends it; returns the program's exit code.
int runSlideShow(HINSTANCE instance);

}  // namespace slidewell

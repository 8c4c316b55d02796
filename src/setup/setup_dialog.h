#pragma once

#include <windows.h>

namespace slidewell {

// Runs the configuration dialog until the user ends it; returns the program's exit code.
int runSetupDialog(HINSTANCE instance);

}  // namespace slidewell

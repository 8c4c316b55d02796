#pragma once

#include <windows.h>

#include <string_view>

namespace slidewell::setup {

// Gives `control` the name that screen readers announce for it, through the platform's accessibility
// property service, for a control that has no label before it to be named by. Needs COM on this
// thread. Returns whether the service took the name; a system without the service leaves the control
// unnamed and the dialog works on.
bool nameForScreenReaders(HWND control, std::wstring_view name);

}  // namespace slidewell::setup

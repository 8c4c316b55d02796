#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace slidewell::e2e {

// The name that screen readers announce for a window of any process, read through the platform's
// accessibility layer (its client object's get_accName); nullopt when it gives none.
std::optional<std::wstring> accessibleName(HWND window);

// Whether this system's accessibility property service takes names given to windows (Wine's answers
// that it does not implement them), tried on a window of this program's own.
bool propertyServiceTakesNames();

}  // namespace slidewell::e2e

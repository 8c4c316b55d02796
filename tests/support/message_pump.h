#pragma once

#include <windows.h>

#include <functional>

namespace slidewell::testing_support {

// Dispatches the thread's messages until `done` holds or `timeoutMs` has passed; whether it held.
bool dispatchUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace slidewell::testing_support

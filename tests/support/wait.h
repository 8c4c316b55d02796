#pragma once

#include <windows.h>

#include <functional>

namespace slidewell::testing_support {

// Checks `done` until it holds or `timeoutMs` has passed, and tells whether it held; every wait in the
// tests is bounded. Meanwhile this thread's messages are dispatched, so that its windows answer.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace slidewell::testing_support

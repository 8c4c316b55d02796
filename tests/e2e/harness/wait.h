#pragma once

#include <windows.h>

#include <functional>

namespace slidewell::e2e {

// Polls `done` every 20 ms until it holds or `timeoutMs` has passed; every wait in the tests is bounded.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace slidewell::e2e

#include "wait.h"

namespace slidewell::e2e {

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
}

}  // namespace slidewell::e2e

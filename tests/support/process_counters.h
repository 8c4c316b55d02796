#pragma once

#include <windows.h>
#include <psapi.h>

namespace slidewell::testing_support {

// This process's memory figures (link psapi).
inline PROCESS_MEMORY_COUNTERS memoryCounters() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  return memory;
}

// How many kernel handles this process holds (Wine always says 0).
inline DWORD handleCount() {
  DWORD count = 0;
  GetProcessHandleCount(GetCurrentProcess(), &count);
  return count;
}

}  // namespace slidewell::testing_support

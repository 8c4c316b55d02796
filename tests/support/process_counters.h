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

}  // namespace slidewell::testing_support

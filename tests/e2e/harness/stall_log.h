#pragma once

#include <windows.h>

#include <string_view>

namespace slidewell::e2e {

// The delays that the tests' stalling file system (tests/stall) notes as each begins, in the file that
// SLIDEWELL_STALL_LOG names: a line each, "stall" or "slow", the milliseconds, the Unix path. A test waits
// on them to know that the program is inside a delay, rather than sleeping in the hope that it is.

// How many delays of the program's noted so far were on a path that holds `part` (say a folder's name).
int delaysNotedOn(std::string_view part);

// Waits until one more delay on such a path than `before` is noted; whether it was within `timeoutMs`.
bool waitForDelayOn(std::string_view part, int before, DWORD timeoutMs);

}  // namespace slidewell::e2e

#pragma once

#include <cstdio>

namespace slidewell::e2e {

// A figure for the record, printed beside the test's own output.
inline void report(const char* what, long value, const char* unit = "ms") {
  std::printf("[ figure ] %s: %ld %s\n", what, value, unit);
}

}  // namespace slidewell::e2e

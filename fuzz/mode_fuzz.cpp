#include <cstddef>
#include <cstdint>

#include "fuzz_text.h"
#include "startup/mode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  slidewell::startup::chooseMode(slidewell::fuzzing::wideText(data, size));
  return 0;
}

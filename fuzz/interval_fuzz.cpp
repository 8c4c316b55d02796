#include <cstddef>
#include <cstdint>

#include "fuzz_text.h"
#include "slideshow/interval.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const double seconds = slidewell::slideshow::textToNumber(slidewell::fuzzing::wideText(data, size));
  slidewell::slideshow::timerPeriod(seconds);
  return 0;
}

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_text.h"
#include "slideshow/interval.h"

namespace {

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace slidewell::slideshow;
  const std::wstring text = slidewell::fuzzing::wideText(data, size);
  const double seconds = textToNumber(text);
  // Whatever the text, the timer is given a period it takes, and 0 for an interval that is none.
  const std::uint32_t period = timerPeriod(seconds);
  if (period > kLongestTimerPeriod || (!(seconds > 0.0) && period != 0)) std::abort();
  // Blanks count nowhere, and reading stops at a character that fits no number.
  std::wstring spaced = text;
  spaced.insert(spaced.size() / 2, L" \t\n");
  if (!same(textToNumber(spaced), seconds) || !same(textToNumber(text + L"!7"), seconds)) std::abort();
  return 0;
}

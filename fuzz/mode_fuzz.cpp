#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_text.h"
#include "startup/mode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace slidewell::startup;
  const std::wstring arguments = slidewell::fuzzing::wideText(data, size);
  const Mode mode = chooseMode(arguments);
  // A window that asked for the dialog is only ever found on a command line that opens the dialog.
  if (setupOwner(arguments) && mode != Mode::Setup) std::abort();
  return 0;
}

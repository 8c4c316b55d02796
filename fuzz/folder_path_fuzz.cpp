#include <cstddef>
#include <cstdint>

#include "fuzz_text.h"
#include "setup/browser/folder_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto path = slidewell::setup::parseFolderPath(slidewell::fuzzing::wideText(data, size));
  if (path) {
    path->text();
    path->longForm();
  }
  return 0;
}

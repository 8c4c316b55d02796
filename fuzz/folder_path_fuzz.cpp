#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_text.h"
#include "setup/browser/folder_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using slidewell::setup::parseFolderPath;
  const auto path = parseFolderPath(slidewell::fuzzing::wideText(data, size));
  if (!path) return 0;
  // The text that the folder list reports reads back as the same folder, and so does its long form.
  if (parseFolderPath(path->text()) != path || parseFolderPath(path->longForm()) != path) std::abort();
  return 0;
}

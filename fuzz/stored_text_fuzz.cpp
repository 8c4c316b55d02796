#include <cstddef>
#include <cstdint>
#include <span>

#include "settings/stored_text.h"

// The first byte chooses the kind of value; the rest is its data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using slidewell::settings::StoredKind;
  const StoredKind kind = data[0] & 1 ? StoredKind::Other : StoredKind::String;
  slidewell::settings::readStoredText(kind, std::as_bytes(std::span(data + 1, size - 1)));
  return 0;
}

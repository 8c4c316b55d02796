#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "settings/stored_text.h"

// The first byte chooses the kind of value; the rest is its data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using slidewell::settings::readStoredText;
  using slidewell::settings::StoredKind;
  const StoredKind kind = data[0] & 1 ? StoredKind::Other : StoredKind::String;
  const auto text = readStoredText(kind, std::as_bytes(std::span(data + 1, size - 1)));
  // Only strings read as text, and what reads as text is no longer than the data and holds no NUL.
  if (text.has_value() != (kind == StoredKind::String)) std::abort();
  if (!text) return 0;
  if (text->size() > (size - 1) / 2 || text->find(L'\0') != std::wstring::npos) std::abort();
  // Written back as the store writes a string, with its NUL, it reads back as it was.
  std::vector<std::uint8_t> written;
  for (const wchar_t c : *text)
    written.insert(written.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
  written.insert(written.end(), {0, 0});
  if (readStoredText(StoredKind::String, std::as_bytes(std::span(written))) != text) std::abort();
  return 0;
}

#include "settings/stored_text.h"

#include <cstring>

namespace slidewell::settings {

std::optional<std::wstring> readStoredText(StoredKind kind, std::span<const std::byte> data) {
  if (kind != StoredKind::String) return std::nullopt;
  static_assert(sizeof(wchar_t) == 2 || sizeof(wchar_t) == 4);
  // Stored text is always UTF-16, two bytes a unit, whatever the width of this platform's wchar_t.
  const std::size_t units = data.size() / 2;
  std::wstring text;
  text.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const auto low = std::to_integer<unsigned>(data[2 * i]);
    const auto high = std::to_integer<unsigned>(data[2 * i + 1]);
    const auto unit = static_cast<wchar_t>(low | (high << 8));
    if (unit == L'\0') break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace slidewell::settings

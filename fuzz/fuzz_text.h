#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace slidewell::fuzzing {

// The input read as UTF-16 code units, low byte first, as the platform hands text to the program; an
// odd last byte is left out.
inline std::wstring wideText(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
  return text;
}

}  // namespace slidewell::fuzzing

#pragma once

namespace slidewell::text {

// Digits and letter case of ASCII only, whatever the locale, for narrow and wide characters alike: what
// drive letters, switches, numbers and the ".bmp" ending are read by.
template <typename Char>
constexpr bool isAsciiDigit(Char c) {
  return c >= Char('0') && c <= Char('9');
}
template <typename Char>
constexpr bool isAsciiLetter(Char c) {
  return (c >= Char('a') && c <= Char('z')) || (c >= Char('A') && c <= Char('Z'));
}
template <typename Char>
constexpr Char asciiLower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}
template <typename Char>
constexpr Char asciiUpper(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

}  // namespace slidewell::text

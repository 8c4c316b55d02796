#pragma once

namespace slidewell::text {

// Letter case of the 26 ASCII letters only, whatever the locale: what drive letters, switches and the
// ".bmp" ending are compared by.
constexpr bool isAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
constexpr wchar_t asciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 0x20) : c; }
constexpr wchar_t asciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 0x20) : c; }

}  // namespace slidewell::text

#include "setup/browser/drive_text.h"

namespace slidewell::setup {
namespace {

wchar_t upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 0x20) : c; }
wchar_t lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 0x20) : c; }

}  // namespace

std::wstring driveText(wchar_t letter, std::wstring_view label) {
  std::wstring text{lower(letter), L':'};
  if (!label.empty()) text += L" [" + std::wstring(label) + L"]";
  return text;
}

std::optional<wchar_t> driveLetterOf(std::wstring_view text) {
  if (text.size() < 2 || text[1] != L':') return std::nullopt;
  const wchar_t letter = upper(text[0]);
  if (letter < L'A' || letter > L'Z') return std::nullopt;
  return letter;
}

std::wstring driveRoot(wchar_t letter) { return {upper(letter), L':', L'\\'}; }

}  // namespace slidewell::setup

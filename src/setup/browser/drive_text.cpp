#include "setup/browser/drive_text.h"

#include "text/ascii_case.h"

namespace slidewell::setup {
std::wstring driveText(wchar_t letter, std::wstring_view label) {
  std::wstring text{text::asciiLower(letter), L':'};
  if (!label.empty()) text += L" [" + std::wstring(label) + L"]";
  return text;
}

std::optional<wchar_t> driveLetterOf(std::wstring_view text) {
  if (text.size() < 2 || text[1] != L':') return std::nullopt;
  const wchar_t letter = text::asciiUpper(text[0]);
  if (letter < L'A' || letter > L'Z') return std::nullopt;
  return letter;
}

std::wstring driveRoot(wchar_t letter) { return {text::asciiUpper(letter), L':', L'\\'}; }

}  // namespace slidewell::setup

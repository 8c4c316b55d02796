#include "setup/browser/name_order.h"

#include <algorithm>

#include "text/ascii_case.h"

namespace slidewell::setup {
namespace {

// A fixed table rather than the C library's locale, so that the order does not depend on where the
// program runs.
wchar_t foldCase(wchar_t c) {
  const bool asciiCapital = c >= L'A' && c <= L'Z';
  const bool latin1Capital = c >= L'\u00C0' && c <= L'\u00DE' && c != L'\u00D7';  // not the multiplication sign
  const bool greekCapital = c >= L'\u0391' && c <= L'\u03AB' && c != L'\u03A2';   // U+03A2 is unassigned
  const bool cyrillicCapital = c >= L'\u0410' && c <= L'\u042F';
  if (asciiCapital || latin1Capital || greekCapital || cyrillicCapital) return static_cast<wchar_t>(c + 0x20);
  if (c >= L'\u0400' && c <= L'\u040F') return static_cast<wchar_t>(c + 0x50);  // Cyrillic capitals with marks
  return c;
}

}  // namespace

bool lessIgnoringCase(std::wstring_view a, std::wstring_view b) {
  const auto folded = [](wchar_t x, wchar_t y) { return foldCase(x) < foldCase(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
  return a < b;
}

void sortIgnoringCase(std::vector<std::wstring>& names) {
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return lessIgnoringCase(a, b); });
}

bool isBitmapName(std::wstring_view name) {
  constexpr std::wstring_view kExtension = L".bmp";
  if (name.size() < kExtension.size()) return false;
  const auto tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(),
                    [](wchar_t c, wchar_t wanted) { return text::asciiLower(c) == wanted; });
}

std::vector<std::wstring> bitmapNames(std::vector<std::wstring> fileNames) {
  std::erase_if(fileNames, [](const std::wstring& name) { return !isBitmapName(name); });
  sortIgnoringCase(fileNames);
  return fileNames;
}

}  // namespace slidewell::setup

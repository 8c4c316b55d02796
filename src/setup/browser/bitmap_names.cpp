#include "setup/browser/bitmap_names.h"

#include <algorithm>

#include "setup/browser/name_order.h"
#include "text/ascii_case.h"

namespace slidewell::setup {

bool isBitmapName(std::wstring_view name) {
  constexpr std::wstring_view kExtension = L".bmp";
  if (name.size() < kExtension.size()) return false;
  const auto tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](wchar_t c, wchar_t wanted) {
    return text::asciiLower(c) == wanted;
  });
}

std::vector<std::wstring> bitmapNames(std::vector<std::wstring> fileNames) {
  std::erase_if(fileNames, [](const std::wstring& name) { return !isBitmapName(name); });
  sortIgnoringCase(fileNames);
  return fileNames;
}

}  // namespace slidewell::setup

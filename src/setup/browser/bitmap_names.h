#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace slidewell::setup {

// Whether a file name matches "*.bmp" as the platform's pattern matching does on long names: it ends in
// ".bmp" in any letter case. "x.bmpx" does not match, whatever its short 8.3 alias looks like.
bool isBitmapName(std::wstring_view name);

// The names of `fileNames` that the file list shows: the bitmaps, in name order ignoring case.
std::vector<std::wstring> bitmapNames(std::vector<std::wstring> fileNames);

}  // namespace slidewell::setup

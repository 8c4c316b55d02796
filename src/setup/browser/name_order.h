#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace slidewell::setup {

// Which names the browser lists, and in what order.

// The order in which the browser lists names: letters compare without regard to case (Latin, Greek and
// Cyrillic capitals fold to their small letters), everything else by code unit; names that differ only
// in case keep a fixed order so that a listing is the same every time.
bool lessIgnoringCase(std::wstring_view a, std::wstring_view b);

void sortIgnoringCase(std::vector<std::wstring>& names);

// Whether a file name matches "*.bmp" as the platform's pattern matching does on long names: it ends in
// ".bmp" in any letter case. "x.bmpx" does not match, whatever its short 8.3 alias looks like.
bool isBitmapName(std::wstring_view name);

// The names of `fileNames` that the file list shows: the bitmaps, in name order ignoring case.
std::vector<std::wstring> bitmapNames(std::vector<std::wstring> fileNames);

}  // namespace slidewell::setup

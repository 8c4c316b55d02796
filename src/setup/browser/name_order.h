#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace slidewell::setup {

// The order in which the browser lists names: letters compare without regard to case (Latin, Greek and
// Cyrillic capitals fold to their small letters), everything else by code unit; names that differ only
// in case keep a fixed order so that a listing is the same every time.
bool lessIgnoringCase(std::wstring_view a, std::wstring_view b);

void sortIgnoringCase(std::vector<std::wstring>& names);

}  // namespace slidewell::setup

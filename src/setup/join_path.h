#pragma once

#include <string>
#include <string_view>

namespace slidewell::setup {

// The full path of file `name` in `folder`: exactly one backslash between them, none added after a
// folder that already ends with one (the root of a drive, "C:\").
std::wstring joinpath(std::wstring_view folder, std::wstring_view name);

}  // namespace slidewell::setup

#pragma once

#include <string_view>

#include "setup/setup_controls.h"

namespace slidewell::setup {

inline constexpr std::wstring_view kFullListText = L"99 pictures is the maximum";
inline constexpr std::wstring_view kFullListTitle = L"Unable to add a picture";

enum class AddResult { Added, ListFull, NothingSelected };

// "Add" and a double-click in the file list: appends the browser's selected file, joined to its folder,
// to the end of the picture list, which holds 99 pictures at most; a full list is told in a message box
// and stays as it was. Duplicates are allowed; the list's selection does not change. With no file
// selected there is nothing to add, and nothing happens.
AddResult addp(SetupControls& controls);

}  // namespace slidewell::setup

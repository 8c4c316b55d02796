#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace slidewell::win {

// A window's text as the window itself reports it; nullopt when it could not be read.
std::optional<std::wstring> windowText(HWND window);

// The text of entry `index` of a list box, or of a combo box's list; empty for no such entry (-1 among them).
std::wstring listItemText(HWND list, int index);
std::wstring comboItemText(HWND combo, int index);

// Makes `texts` the entries of a list box, drawn once when all are in, with entry `selected` selected
// (-1: none).
void setListTexts(HWND list, const std::vector<std::wstring>& texts, int selected = -1);

}  // namespace slidewell::win

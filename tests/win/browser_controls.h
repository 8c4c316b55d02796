#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "setup/browser/browser.h"
#include "test_parent.h"

namespace slidewell::testing_support {

inline constexpr int kFolderListId = 301;
inline constexpr int kFileListId = 302;

// The browser's controls in a test window, with the styles the dialog gives them, and the browser
// over them once open() is called.
class BrowserControls {
 public:
  setup::Browser& open(const std::wstring& startFolder) {
    return opened.emplace(driveCombo, folderList, fileList, addButton, startFolder);
  }

  TestParent parent;
  HWND driveCombo = parent.createChild(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 303);
  HWND folderList = parent.createChild(L"LISTBOX", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, kFolderListId);
  HWND fileList = parent.createChild(L"LISTBOX", LBS_NOTIFY, kFileListId);
  HWND addButton = parent.createChild(L"BUTTON", BS_PUSHBUTTON | WS_DISABLED, 306);
  std::optional<setup::Browser> opened;
};

}  // namespace slidewell::testing_support

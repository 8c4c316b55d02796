#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "setup/browser/browser.h"
#include "test_parent.h"

namespace slidewell::testing_support {

inline constexpr int kFolderListId = 301;
inline constexpr int kFileListId = 302;
inline constexpr UINT kFolderReadMessage = WM_APP + 3;

// The browser's controls in a test window, with the styles the dialog gives them, and the browser
// over them once open() is called.
class BrowserControls {
 public:
  setup::Browser& open(const std::wstring& startFolder) {
    return opened.emplace(parent.hwnd(), kFolderReadMessage, driveCombo, folderList, fileList, addButton,
                          startFolder);
  }

  // Waits for the end of the read that a move of the user's started, as the dialog does, and hands it
  // to the browser: whether the lists moved. False also when no read ended within 5 s.
  bool arrived() {
    MSG message{};
    for (int i = 0; i < 500; ++i) {
      if (PeekMessageW(&message, parent.hwnd(), kFolderReadMessage, kFolderReadMessage, PM_REMOVE)) {
        return opened->arrive();
      }
      Sleep(10);
    }
    return false;
  }

  TestParent parent;
  HWND driveCombo = parent.createChild(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 303);
  HWND folderList = parent.createChild(L"LISTBOX", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, kFolderListId);
  HWND fileList = parent.createChild(L"LISTBOX", LBS_NOTIFY, kFileListId);
  HWND addButton = parent.createChild(L"BUTTON", BS_PUSHBUTTON | WS_DISABLED, 306);
  std::optional<setup::Browser> opened;
};

}  // namespace slidewell::testing_support

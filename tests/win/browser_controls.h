#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "setup/browser/browser.h"
#include "setup/browser/folder_reading.h"
#include "test_parent.h"

namespace slidewell::testing_support {

inline constexpr int kFolderListId = 301;
inline constexpr int kFileListId = 302;
inline constexpr UINT kFolderReadMessage = WM_APP + 3;
inline constexpr UINT_PTR kFolderWatchTimer = 4;

// The browser's controls in a test window, with the styles the dialog gives them, and the browser
// over them once open() is called.
class BrowserControls {
 public:
  setup::Browser& open(const std::wstring& startFolder) {
    return opened.emplace(parent.hwnd(), win::WorkerRouting{kFolderReadMessage, kFolderWatchTimer, setup::kBrowseStallBound},
                          driveCombo, folderList, fileList, addButton, startFolder,
                          [this](bool moved) { lastMove = moved; });
  }

  // Waits for the end of the read that a move of the user's started, as the dialog does, and hands it
  // to the browser: whether the lists moved. False also when no read ended within 5 s.
  bool arrived() {
    lastMove.reset();
    MSG message{};
    for (int i = 0; i < 500 && !lastMove; ++i) {
      if (!PeekMessageW(&message, parent.hwnd(), 0, 0, PM_REMOVE)) {
        Sleep(10);
      } else if (!opened->handle(message.message, message.wParam)) {
        DispatchMessageW(&message);
      }
    }
    return lastMove.value_or(false);
  }

  TestParent parent;
  HWND driveCombo = parent.createChild(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 303);
  HWND folderList = parent.createChild(L"LISTBOX", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, kFolderListId);
  HWND fileList = parent.createChild(L"LISTBOX", LBS_NOTIFY, kFileListId);
  HWND addButton = parent.createChild(L"BUTTON", BS_PUSHBUTTON | WS_DISABLED, 306);
  std::optional<setup::Browser> opened;
  std::optional<bool> lastMove;  // whether the lists moved at the end of the user's last move
};

}  // namespace slidewell::testing_support

#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "setup/browser/browser.h"
#include "setup/browser/folder_reading.h"
#include "test_parent.h"
#include "wait.h"

namespace slidewell::testing_support {

inline constexpr int kFolderListId = static_cast<int>(setup::ControlId::Folders);

// The browser's controls in a test window, made as the dialog makes them, and the browser over them once
// open() is called.
class BrowserControls {
 public:
  setup::Browser& open(const std::wstring& startFolder) {
    return opened.emplace(driveCombo, folderList, fileList, addButton, startFolder,
                          [this](bool moved) { lastMove = moved; });
  }

  // Waits for the end of the read that a move of the user's started, as the dialog does, and hands it
  // to the browser: whether the lists moved. False also when no read ended within 5 s.
  bool arrived() {
    lastMove.reset();
    waitUntil([&] { return lastMove.has_value(); }, 5000);
    return lastMove.value_or(false);
  }

  TestParent parent;
  HWND driveCombo = parent.createControl(setup::ControlId::Drives);
  HWND folderList = parent.createControl(setup::ControlId::Folders);
  HWND fileList = parent.createControl(setup::ControlId::Files);
  HWND addButton = parent.createControl(setup::ControlId::Add);
  std::optional<setup::Browser> opened;
  std::optional<bool> lastMove;  // whether the lists moved at the end of the user's last move
};

}  // namespace slidewell::testing_support

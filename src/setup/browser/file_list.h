#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/browser/folder_reading.h"

namespace slidewell::setup {

// The browser's file list (File1) over a list box that the dialog created: the bitmaps of one folder
// ("*.bmp" in any letter case), in name order, at most one selected.
//
// What the list box needs: LBS_NOTIFY (clicks and double-clicks reach the dialog as LBN_SELCHANGE and
// LBN_DBLCLK), single selection (neither LBS_MULTIPLESEL nor LBS_EXTENDEDSEL). It needs no LBS_SORT: the
// names come sorted.
class FileList {
 public:
  explicit FileList(HWND list) : list_(list) {}

  // Shows the bitmaps among a folder's `items` (what reading it gave), none selected.
  void show(const std::vector<FolderItem>& items);

  // The selected file's name without folder; empty when none is selected.
  std::wstring selectedName() const;

 private:
  HWND list_;
};

}  // namespace slidewell::setup

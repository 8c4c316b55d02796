#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "setup/browser/folder_entries.h"
#include "setup/browser/folder_reading.h"

namespace slidewell::setup {

// The browser's folder list (Dir1) over a list box that the dialog created: the drive's root, the folders
// above the current one, the current folder and its subfolders, each drawn one step further in.
//
// What the list box needs: LBS_NOTIFY (double-clicks reach the dialog as LBN_DBLCLK), LBS_OWNERDRAWFIXED
// with LBS_HASSTRINGS for the indents (without them the names are shown flush left), no LBS_SORT (the
// order is the list's own). The dialog forwards the list's WM_DRAWITEM to draw(), and calls fitToFont()
// after giving the list another font. Enter in the list reaches the dialog as LBN_DBLCLK as well, so that
// the dialog answers both alike.
class FolderList {
 public:
  // Shows nothing until the first show().
  explicit FolderList(HWND list);
  FolderList(const FolderList&) = delete;
  FolderList& operator=(const FolderList&) = delete;
  ~FolderList();

  // The current folder as a full path ("C:\" at a root, "C:\pics\2024" below one); empty when none is shown.
  std::wstring path() const;

  // Makes `folder` current, with the subfolders among `items` (what reading it gave).
  void show(const FolderPath& folder, const std::vector<FolderItem>& items);

  // The folder that opening the selected entry (double-click or Enter) leads to; nullopt when no entry
  // is selected or it is the current folder, so that opening it would change nothing.
  std::optional<FolderPath> selectedTarget() const;

  void draw(const DRAWITEMSTRUCT& item) const;

  // Owner-drawn lines keep the height they were given: a line of the list's current font, with a little air.
  void fitToFont();

 private:
  HWND list_;
  WNDPROC listProc_;  // the list box's own procedure, which Enter's handling passes everything else to
  std::optional<FolderEntries> entries_;
};

}  // namespace slidewell::setup

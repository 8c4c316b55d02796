#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidewell::setup {

// The browser's drive list (Drive1) over a drop-down list combo box (CBS_DROPDOWNLIST) that the dialog
// created: the machine's drives, each as "c: [LABEL]" or "c:". Labels are read when the list is filled
// only for fixed drives and RAM disks, so that filling never waits on a removable, optical or network
// drive; another drive's label appears once it has been selected. No error box for a drive without a
// medium. The user's choice reaches the dialog as CBN_SELCHANGE.
class DriveList {
 public:
  // Fills the list; the drive of `startFolder` is current (none when that folder is on no drive letter).
  DriveList(HWND combo, std::wstring_view startFolder);

  // The current drive as text ("c: [SYSTEM]"), which is what the configuration stores; empty when none.
  std::wstring text() const;
  // The current drive's letter; nullopt when none is current.
  std::optional<wchar_t> current() const;

  // The drive that `text` names (a drive text as text() gives it, a stored one, or a path) when it is in
  // the list; nullopt otherwise.
  std::optional<wchar_t> listed(std::wstring_view text) const;

  // Makes a listed drive current, showing it with `label`: the label may have changed since the list
  // was filled (another medium), or not have been read then.
  void showCurrent(wchar_t letter, std::wstring_view label);

  // Shows the drive of `folder` as current, without reading it (the folder list is known to be there);
  // no drive at all when `folder` is on none.
  void showDriveOf(std::wstring_view folder);

 private:
  struct Drive {
    wchar_t letter;
    std::wstring label;
  };

  int indexOf(wchar_t letter) const;
  int currentIndex() const;

  HWND combo_;
  std::vector<Drive> drives_;  // as the list shows them, entry by entry
};

}  // namespace slidewell::setup

#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "win/worker.h"

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

  // Makes the drive that `text` names current: a drive text as text() gives it, a stored one, or a path.
  // A drive that is not in the list or cannot be read now (its label not read within kBrowseWait)
  // changes nothing: false.
  bool select(std::wstring_view text);

  // Shows the drive of `folder` as current, without reading it (the folder list is known to be there);
  // no drive at all when `folder` is on none.
  void showDriveOf(std::wstring_view folder);

 private:
  int indexOf(wchar_t letter) const;

  HWND combo_;
  win::Worker<std::monostate, std::optional<std::wstring>> labels_{nullptr, 0};
};

}  // namespace slidewell::setup

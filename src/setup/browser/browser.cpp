#include "setup/browser/browser.h"

#include "setup/browser/browser_moves.h"

namespace slidewell::setup {

Browser::Browser(HWND drives, HWND folders, HWND files, HWND add, std::wstring_view startFolder)
    : drives_(drives, startFolder), folders_(folders, startFolder), files_(files), add_(add) {
  files_.setFolder(folders_.path());
}

void Browser::followDrive() {
  if (followDriveList(drives_, folders_)) onFolderChange();
}

void Browser::openSelectedFolder() {
  if (folders_.openSelected()) onFolderChange();
}

void Browser::moveToDrive(std::wstring_view text) {
  if (setup::moveToDrive(drives_, folders_, text)) onFolderChange();
}

void Browser::moveToFolder(std::wstring_view path) {
  if (setup::moveToFolder(drives_, folders_, path)) onFolderChange();
}

void Browser::onFolderChange() {
  EnableWindow(add_, FALSE);
  // A folder that cannot be read leaves the file list as it was.
  files_.setFolder(folders_.path());
}

}  // namespace slidewell::setup

#include "setup/browser/browser_moves.h"

#include <windows.h>

#include <string>

#include "setup/browser/drive_text.h"

namespace slidewell::setup {
namespace {

// The platform keeps a current folder per drive: "X:" alone names it.
std::wstring currentFolderOfDrive(wchar_t letter) {
  const std::wstring drive{letter, L':'};
  std::wstring folder(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(drive.c_str(), static_cast<DWORD>(folder.size()), folder.data(), nullptr);
    if (length == 0) return driveRoot(letter);
    if (length < folder.size()) {
      folder.resize(length);
      return folder;
    }
    folder.resize(length);  // too small: `length` is the size needed, the terminating NUL included
  }
}

}  // namespace

bool followDriveList(DriveList& drives, FolderList& folders) {
  const std::wstring drive = drives.text();
  const auto letter = driveLetterOf(drive);
  if (letter && drives.select(drive) &&
      (folders.setPath(currentFolderOfDrive(*letter)) || folders.setPath(driveRoot(*letter)))) {
    return true;
  }
  drives.showDriveOf(folders.path());
  return false;
}

bool moveToDrive(DriveList& drives, FolderList& folders, std::wstring_view driveText) {
  return drives.select(driveText) && followDriveList(drives, folders);
}

bool moveToFolder(DriveList& drives, FolderList& folders, std::wstring_view path) {
  if (!folders.setPath(path)) return false;
  drives.showDriveOf(folders.path());
  return true;
}

}  // namespace slidewell::setup

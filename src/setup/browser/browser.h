#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "setup/browser/drive_list.h"
#include "setup/browser/file_list.h"
#include "setup/browser/folder_list.h"

namespace slidewell::setup {

// The dialog's file browser: the drive list, the folder list and the file list moving together. Every
// change of folder disables "Add" and refills the file list, so that "Add" is enabled only by a click in
// a file list that shows the current folder. A drive or folder that cannot be read changes nothing.
class Browser {
 public:
  // Starts in `startFolder` (where the program runs); `add` is the "Add" button.
  Browser(HWND drives, HWND folders, HWND files, HWND add, std::wstring_view startFolder);

  // The user chose another drive in the drive list.
  void followDrive();
  // A double-click or Enter in the folder list.
  void openSelectedFolder();
  // A stored drive or folder.
  void moveToDrive(std::wstring_view text);
  void moveToFolder(std::wstring_view path);

  std::wstring driveText() const { return drives_.text(); }
  std::wstring folderPath() const { return folders_.path(); }
  std::wstring selectedFile() const { return files_.selectedName(); }

  void drawFolder(const DRAWITEMSTRUCT& item) const { folders_.draw(item); }
  // After the folder list got another font.
  void fitToFont() { folders_.fitToFont(); }

 private:
  void onFolderChange();

  DriveList drives_;
  FolderList folders_;
  FileList files_;
  HWND add_;
};

}  // namespace slidewell::setup

#pragma once

#include <string_view>

#include "setup/browser/drive_list.h"
#include "setup/browser/folder_list.h"

namespace slidewell::setup {

// The drive list's Change: the folder list moves to the drive list's current drive, into that drive's
// current folder (for the drive the program runs on, the folder it runs in) or, when that cannot be read,
// the drive's root. When the drive cannot be read at all the folder list stays where it was and the drive
// list goes back to the folder list's drive. True when the folder list moved (its Change follows).
bool followDriveList(DriveList& drives, FolderList& folders);

// A drive given as text (the stored "drive"): made current, and the folder list follows as above. A drive
// that is not there or cannot be read changes neither list: false.
bool moveToDrive(DriveList& drives, FolderList& folders, std::wstring_view driveText);

// A folder given as a path (the stored "dir"): made the folder list's current folder, and the drive list
// shows the drive it is on. A folder that is missing or cannot be read changes neither list: false.
bool moveToFolder(DriveList& drives, FolderList& folders, std::wstring_view path);

}  // namespace slidewell::setup

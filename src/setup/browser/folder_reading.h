#pragma once

#include <optional>
#include <string>
#include <vector>

#include "picture/read_progress.h"
#include "setup/browser/folder_path.h"

namespace slidewell::setup {

struct FolderItem {
  std::wstring name;
  bool isFolder = false;
};

// The items of a folder that the browser shows: every file and subfolder except hidden ones, and not
// "." or "..". Works at any path length. nullopt when the folder cannot be read (missing, refused, a
// drive that is not ready), without any error box. Each call on the file system is marked on
// `progress`.
std::optional<std::vector<FolderItem>> readFolder(const FolderPath& folder, picture::ReadProgress& progress);

// The folder that the process runs in, where the browser starts.
std::wstring processCurrentFolder();

// Where one move of the browser leads, found by looking at the file system, which may stall, and so
// read away from the window's thread. Every call on the file system is marked on `progress`, so that
// a call that hangs is told from a long listing that goes on moving.
struct Destination {
  // A move to a drive names the drive; its label is nullopt when the drive cannot be read.
  std::optional<wchar_t> drive;
  std::optional<std::wstring> label;
  // The folder the move ends in, with its items; nullopt when no folder could be read.
  std::optional<FolderPath> folder;
  std::vector<FolderItem> items;
};

// A move to a drive: its label, then its current folder (for the drive the program runs on, the folder
// it runs in) or, when that cannot be read, its root.
Destination readDriveDestination(wchar_t letter, picture::ReadProgress& progress);

// A move to `folder`.
Destination readFolderDestination(const FolderPath& folder, picture::ReadProgress& progress);

// The label of a drive that can be read now (possibly empty); nullopt for one that cannot. No error box.
// Its call is marked on `progress` when given.
std::optional<std::wstring> labelOfReadableDrive(wchar_t letter, picture::ReadProgress* progress = nullptr);

}  // namespace slidewell::setup

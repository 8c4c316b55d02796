#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "setup/browser/folder_path.h"

namespace slidewell::setup {

struct FolderItem {
  std::wstring name;
  bool isFolder = false;
};

// The items of a folder that the browser shows: every file and subfolder except hidden ones, and not
// "." or "..". Works at any path length. nullopt when the folder cannot be read (missing, refused, a
// drive that is not ready), without any error box.
std::optional<std::vector<FolderItem>> readFolder(const FolderPath& folder);

// How long the browser waits for one look-up on a drive or folder (reading a folder, a drive's label)
// before it takes the drive or folder as one that cannot be read, so that a hung one keeps the dialog
// still for no longer than that. The look-up goes on on a thread of its own (see win::Worker).
inline constexpr std::chrono::milliseconds kBrowseWait{400};

// The folder that the process runs in, where the browser starts.
std::wstring processCurrentFolder();

}  // namespace slidewell::setup

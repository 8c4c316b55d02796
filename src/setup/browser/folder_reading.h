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

// How long a move of the browser made while the configuration loads (to the stored drive, to the stored
// folder) waits for its read before it takes the drive or folder as one that cannot be read, so that a
// hung one delays the dialog by no more than that. The read goes on on a thread of its own (see
// win::Worker).
inline constexpr std::chrono::milliseconds kBrowseWait{400};
// How long a move of the user's may wait for a thread, behind reads that hang, before it is given up.
inline constexpr std::chrono::milliseconds kBrowseStallBound{2000};

// The folder that the process runs in, where the browser starts.
std::wstring processCurrentFolder();

}  // namespace slidewell::setup

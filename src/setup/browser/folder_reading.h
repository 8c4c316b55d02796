#pragma once

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

// The folder that the process runs in, where the browser starts.
std::wstring processCurrentFolder();

}  // namespace slidewell::setup

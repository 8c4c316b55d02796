#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/browser/folder_path.h"

namespace slidewell::setup {

// One line of the folder list: the root ("C:\") or a folder's name, and how deep it is drawn.
struct FolderEntry {
  std::wstring name;
  int indent = 0;

  bool operator==(const FolderEntry&) const = default;
};

// What the folder list shows for one current folder: the root, each folder above the current one, the
// current folder, then its subfolders in name order (ignoring case), each one level deeper.
class FolderEntries {
 public:
  FolderEntries(FolderPath current, std::vector<std::wstring> subfolders);

  const std::vector<FolderEntry>& entries() const { return entries_; }
  int currentIndex() const { return static_cast<int>(current_.names.size()); }
  const FolderPath& current() const { return current_; }

  // The folder that opening entry `index` leads to; nullopt when there is no such entry (-1: none selected).
  std::optional<FolderPath> pathOf(int index) const;

 private:
  FolderPath current_;
  std::vector<std::wstring> subfolders_;
  std::vector<FolderEntry> entries_;
};

}  // namespace slidewell::setup

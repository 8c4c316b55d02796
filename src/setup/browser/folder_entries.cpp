#include "setup/browser/folder_entries.h"

#include <utility>

#include "setup/browser/name_order.h"

namespace slidewell::setup {

FolderEntries::FolderEntries(FolderPath current, std::vector<std::wstring> subfolders)
    : current_(std::move(current)), subfolders_(std::move(subfolders)) {
  sortIgnoringCase(subfolders_);
  entries_.push_back({current_.root, 0});
  int depth = 0;
  for (const auto& name : current_.names) entries_.push_back({name, ++depth});
  for (const auto& name : subfolders_) entries_.push_back({name, depth + 1});
}

std::optional<FolderPath> FolderEntries::pathOf(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return std::nullopt;
  FolderPath path = current_;
  if (index <= currentIndex()) {
    path.names.resize(static_cast<std::size_t>(index));
  } else {
    path.names.push_back(subfolders_[static_cast<std::size_t>(index - currentIndex() - 1)]);
  }
  return path;
}

}  // namespace slidewell::setup

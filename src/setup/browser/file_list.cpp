#include "setup/browser/file_list.h"

#include <utility>
#include <vector>

#include "setup/browser/name_order.h"
#include "win/window_text.h"

namespace slidewell::setup {

void FileList::show(const std::vector<FolderItem>& items) {
  std::vector<std::wstring> files;
  for (const auto& item : items) {
    if (!item.isFolder) files.push_back(item.name);
  }

  win::setListTexts(list_, bitmapNames(std::move(files)));
}

std::wstring FileList::selectedName() const {
  return win::listItemText(list_, static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)));
}

}  // namespace slidewell::setup

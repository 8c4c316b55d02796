#include "setup/browser/file_list.h"

#include <utility>
#include <vector>

#include "setup/browser/bitmap_names.h"
#include "setup/browser/folder_reading.h"

namespace slidewell::setup {

bool FileList::setFolder(std::wstring_view folder) {
  const auto path = parseFolderPath(folder);
  if (!path) return false;
  const auto items = readFolder(*path);
  if (!items) return false;
  std::vector<std::wstring> files;
  for (const auto& item : *items) {
    if (!item.isFolder) files.push_back(item.name);
  }

  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const auto& name : bitmapNames(std::move(files))) {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return true;
}

std::wstring FileList::selectedName() const {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return {};
  const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.data()));
  name.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return name;
}

}  // namespace slidewell::setup

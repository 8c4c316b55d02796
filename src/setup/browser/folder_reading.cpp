#include "setup/browser/folder_reading.h"

#include <windows.h>

#include "setup/join_path.h"
#include "win/quiet_drive_errors.h"
#include "win/window_text.h"
#include "win/handles.h"

namespace slidewell::setup {
namespace {

bool isFolder(const FolderPath& folder) {
  const DWORD attributes = GetFileAttributesW(folder.longForm().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::optional<std::vector<FolderItem>> readFolder(const FolderPath& folder) {
  const win::QuietDriveErrors quiet;
  std::vector<FolderItem> items;
  WIN32_FIND_DATAW found{};
  // "*" and our own filtering: a pattern such as "*.bmp" would also match on the 8.3 short names.
  const std::wstring pattern = joinpath(folder.longForm(), L"*");
  const win::UniqueFindHandle search(
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
  if (!search) {
    // The root of an empty drive has not even "." and "..": it is empty, not unreadable.
    if (GetLastError() == ERROR_FILE_NOT_FOUND && isFolder(folder)) return items;
    return std::nullopt;
  }
  do {
    const std::wstring_view name(found.cFileName);
    if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0) continue;
    items.push_back({std::wstring(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search.get(), &found));
  // A listing that broke off part way would show a folder with files missing.
  if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
  return items;
}

std::wstring processCurrentFolder() {
  return win::growingBufferText([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
}

}  // namespace slidewell::setup

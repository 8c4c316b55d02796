#include "setup/browser/folder_reading.h"

#include <windows.h>

#include <utility>

#include "setup/configuration.h"
#include "win/handles.h"

namespace slidewell::setup {
namespace {

using Call = picture::ReadProgress::Call;

// Text from a call that writes into a buffer of `size` characters and returns the length written, or,
// when the buffer is too small, the size it needs with the terminating NUL (GetCurrentDirectory,
// GetFullPathName). Empty when the call failed (returned 0).
template <typename Fill>
std::wstring growingBufferText(const Fill& fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = fill(static_cast<DWORD>(text.size()), text.data());
    if (length == 0) return {};
    const bool fits = length < text.size();
    text.resize(length);
    if (fits) return text;
  }
}

bool isFolder(const FolderPath& folder, picture::ReadProgress& progress) {
  const Call call(&progress);
  const DWORD attributes = GetFileAttributesW(folder.longForm().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The platform keeps a current folder per drive: "X:" alone names it.
std::wstring currentFolderOfDrive(wchar_t letter, picture::ReadProgress& progress) {
  const std::wstring drive{letter, L':'};
  const std::wstring folder = growingBufferText([&](DWORD size, wchar_t* buffer) {
    const Call call(&progress);
    return GetFullPathNameW(drive.c_str(), size, buffer, nullptr);
  });
  return folder.empty() ? driveRoot(letter) : folder;
}

bool readInto(Destination& destination, const std::optional<FolderPath>& folder, picture::ReadProgress& progress) {
  if (!folder) return false;
  auto items = readFolder(*folder, progress);
  if (!items) return false;
  destination.folder = *folder;
  destination.items = std::move(*items);
  return true;
}

}  // namespace

std::optional<std::vector<FolderItem>> readFolder(const FolderPath& folder, picture::ReadProgress& progress) {
  const win::QuietDriveErrors quiet;
  std::vector<FolderItem> items;
  WIN32_FIND_DATAW found{};
  // "*" and our own filtering: a pattern such as "*.bmp" would also match on the 8.3 short names.
  const std::wstring pattern = joinpath(folder.longForm(), L"*");
  win::UniqueFindHandle search;
  {
    const Call call(&progress);
    search.reset(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
  }
  if (!search) {
    // The root of an empty drive has not even "." and "..": it is empty, not unreadable.
    if (GetLastError() == ERROR_FILE_NOT_FOUND && isFolder(folder, progress)) return items;
    return std::nullopt;
  }
  for (;;) {
    const std::wstring_view name(found.cFileName);
    if (name != L"." && name != L".." && (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) == 0) {
      items.push_back({std::wstring(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    }
    const Call call(&progress);
    if (!FindNextFileW(search.get(), &found)) break;
  }
  // A listing that broke off part way would show a folder with files missing.
  if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
  return items;
}

std::wstring processCurrentFolder() {
  return growingBufferText([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
}

Destination readDriveDestination(wchar_t letter, picture::ReadProgress& progress) {
  Destination destination;
  destination.drive = letter;
  destination.label = labelOfReadableDrive(letter, &progress);
  if (destination.label && !readInto(destination, parseFolderPath(currentFolderOfDrive(letter, progress)), progress)) {
    readInto(destination, parseFolderPath(driveRoot(letter)), progress);
  }
  return destination;
}

Destination readFolderDestination(const FolderPath& folder, picture::ReadProgress& progress) {
  Destination destination;
  readInto(destination, folder, progress);
  return destination;
}

std::optional<std::wstring> labelOfReadableDrive(wchar_t letter, picture::ReadProgress* progress) {
  const win::QuietDriveErrors quiet;
  wchar_t label[MAX_PATH + 1] = {};
  const Call call(progress);
  if (!GetVolumeInformationW(driveRoot(letter).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
    return std::nullopt;
  }
  return std::wstring(label);
}

}  // namespace slidewell::setup

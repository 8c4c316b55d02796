#include "setup/browser/browser.h"

#include "setup/browser/drive_text.h"
#include "setup/browser/folder_reading.h"
#include "setup/join_path.h"
#include "win/window_text.h"

namespace slidewell::setup {
namespace {

// The platform keeps a current folder per drive: "X:" alone names it.
std::wstring currentFolderOfDrive(wchar_t letter) {
  const std::wstring drive{letter, L':'};
  const std::wstring folder = win::growingBufferText(
      [&](DWORD size, wchar_t* buffer) { return GetFullPathNameW(drive.c_str(), size, buffer, nullptr); });
  return folder.empty() ? driveRoot(letter) : folder;
}

}  // namespace

Browser::Browser(HWND drives, HWND folders, HWND files, HWND add, std::wstring_view startFolder)
    : drives_(drives, startFolder), folders_(folders), files_(files), add_(add) {
  show(parseFolderPath(startFolder));
}

bool Browser::followDrive() {
  const std::wstring drive = drives_.text();
  if (drives_.select(drive)) return enterDrive(*driveLetterOf(drive));
  drives_.showDriveOf(folders_.path());
  return false;
}

bool Browser::openSelectedFolder() {
  const auto target = folders_.selectedTarget();
  return target && show(target);
}

bool Browser::moveToDrive(std::wstring_view text) { return drives_.select(text) && enterDrive(*driveLetterOf(text)); }

bool Browser::moveToFolder(std::wstring_view path) {
  if (!show(parseFolderPath(path))) return false;
  drives_.showDriveOf(folders_.path());
  return true;
}

std::optional<std::wstring> Browser::chooseFile() {
  const std::wstring name = files_.selectedName();
  if (name.empty()) return std::nullopt;
  EnableWindow(add_, TRUE);
  return joinpath(folders_.path(), name);
}

bool Browser::enterDrive(wchar_t letter) {
  if (show(parseFolderPath(currentFolderOfDrive(letter))) || show(parseFolderPath(driveRoot(letter)))) return true;
  drives_.showDriveOf(folders_.path());
  return false;
}

bool Browser::show(const std::optional<FolderPath>& folder) {
  if (!folder) return false;
  const FolderPath target = *folder;
  const auto read = reader_.runWithin([target](std::monostate&) { return readFolder(target); }, kBrowseWait);
  if (!read || !*read) return false;
  const auto& items = *read;
  folders_.show(*folder, *items);
  files_.show(*items);
  EnableWindow(add_, FALSE);
  return true;
}

}  // namespace slidewell::setup

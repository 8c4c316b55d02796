#include "setup/browser/destination.h"

#include <windows.h>

#include <utility>

#include "setup/browser/drive_text.h"
#include "win/quiet_drive_errors.h"
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

bool readInto(Destination& destination, const std::optional<FolderPath>& folder) {
  if (!folder) return false;
  auto items = readFolder(*folder);
  if (!items) return false;
  destination.folder = *folder;
  destination.items = std::move(*items);
  return true;
}

}  // namespace

Destination readDriveDestination(wchar_t letter) {
  Destination destination;
  destination.drive = letter;
  destination.label = labelOfReadableDrive(letter);
  if (destination.label && !readInto(destination, parseFolderPath(currentFolderOfDrive(letter)))) {
    readInto(destination, parseFolderPath(driveRoot(letter)));
  }
  return destination;
}

Destination readFolderDestination(const FolderPath& folder) {
  Destination destination;
  readInto(destination, folder);
  return destination;
}

std::optional<std::wstring> labelOfReadableDrive(wchar_t letter) {
  const win::QuietDriveErrors quiet;
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(driveRoot(letter).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                             0)) {
    return std::nullopt;
  }
  return std::wstring(label);
}

}  // namespace slidewell::setup

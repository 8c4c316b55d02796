#include "setup/browser/browser.h"

#include <utility>

#include "setup/configuration.h"

namespace slidewell::setup {

Browser::Browser(HWND drives, HWND folders, HWND files, HWND add, std::wstring_view startFolder,
                 std::function<void(bool moved)> arrived)
    : reader_(kBrowseStallBound),
      drives_(drives, startFolder),
      folders_(folders),
      files_(files),
      add_(add),
      arrived_(std::move(arrived)) {
  if (const auto start = parseFolderPath(startFolder)) startMove(toFolder(*start), kBrowseWait, false);
}

bool Browser::followDrive() {
  const auto letter = drives_.current();
  if (!letter) {
    drives_.showDriveOf(folders_.path());
    return false;
  }
  startMove(toDrive(*letter), {}, true);
  return true;
}

bool Browser::openSelectedFolder() {
  const auto target = folders_.selectedTarget();
  if (!target) return false;
  startMove(toFolder(*target), {}, true);
  return true;
}

bool Browser::moveToDrive(std::wstring_view text) {
  const auto letter = drives_.listed(text);
  return letter && startMove(toDrive(*letter), kBrowseWait, false);
}

bool Browser::moveToFolder(std::wstring_view path) {
  const auto folder = parseFolderPath(path);
  return folder && startMove(toFolder(*folder), kBrowseWait, false);
}

std::optional<std::wstring> Browser::chooseFile() {
  const std::wstring name = files_.selectedName();
  if (name.empty()) return std::nullopt;
  EnableWindow(add_, TRUE);
  return joinpath(folders_.path(), name);
}

Browser::Reader::Job Browser::toDrive(wchar_t letter) {
  return [letter](std::monostate&, picture::ReadProgress& progress) {
    return std::optional(readDriveDestination(letter, progress));
  };
}

Browser::Reader::Job Browser::toFolder(const FolderPath& folder) {
  return [folder](std::monostate&, picture::ReadProgress& progress) {
    return std::optional(readFolderDestination(folder, progress));
  };
}

bool Browser::startMove(Reader::Job job, std::chrono::milliseconds wait, bool told) {
  const bool ended = reader_.start(
      std::move(job),
      [this, told](std::optional<Destination> destination) {
        // Given up, it leads nowhere.
        lastMoved_ = arriveAt(destination.value_or(Destination{}));
        if (told && arrived_) arrived_(lastMoved_);
      },
      wait);
  return ended && lastMoved_;
}

bool Browser::arriveAt(const Destination& destination) {
  if (destination.drive && destination.label) drives_.showCurrent(*destination.drive, *destination.label);
  if (!destination.folder) {
    drives_.showDriveOf(folders_.path());
    return false;
  }
  folders_.show(*destination.folder, destination.items);
  files_.show(destination.items);
  EnableWindow(add_, FALSE);
  drives_.showDriveOf(folders_.path());
  return true;
}

}  // namespace slidewell::setup

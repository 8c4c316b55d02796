#include "setup/browser/browser.h"

#include <utility>

#include "setup/configuration.h"

namespace slidewell::setup {

Browser::Browser(HWND window, win::WorkerRouting routing, HWND drives, HWND folders, HWND files, HWND add,
                 std::wstring_view startFolder, std::function<void(bool moved)> arrived)
    : reader_(routing),
      drives_(drives, startFolder),
      folders_(folders),
      files_(files),
      add_(add),
      arrived_(std::move(arrived)) {
  reader_.attach(window);
  if (const auto start = parseFolderPath(startFolder)) moveWithin(toFolder(*start));
}

bool Browser::followDrive() {
  const auto letter = drives_.current();
  if (!letter) {
    drives_.showDriveOf(folders_.path());
    return false;
  }
  startMove(toDrive(*letter));
  return true;
}

bool Browser::openSelectedFolder() {
  const auto target = folders_.selectedTarget();
  if (!target) return false;
  startMove(toFolder(*target));
  return true;
}

bool Browser::moveToDrive(std::wstring_view text) {
  const auto letter = drives_.listed(text);
  return letter && moveWithin(toDrive(*letter));
}

bool Browser::moveToFolder(std::wstring_view path) {
  const auto folder = parseFolderPath(path);
  return folder && moveWithin(toFolder(*folder));
}

std::optional<std::wstring> Browser::chooseFile() {
  const std::wstring name = files_.selectedName();
  if (name.empty()) return std::nullopt;
  EnableWindow(add_, TRUE);
  return joinpath(folders_.path(), name);
}

Browser::Reader::Job Browser::toDrive(wchar_t letter) {
  return [letter](std::monostate&, picture::ReadProgress&) { return std::optional(readDriveDestination(letter)); };
}

Browser::Reader::Job Browser::toFolder(const FolderPath& folder) {
  return [folder](std::monostate&, picture::ReadProgress&) { return std::optional(readFolderDestination(folder)); };
}

void Browser::startMove(Reader::Job job) {
  reader_.start(std::move(job), [this](std::optional<Destination> destination) {
    // Given up, it leads nowhere.
    const bool moved = arriveAt(destination.value_or(Destination{}));
    if (arrived_) arrived_(moved);
  });
}

bool Browser::moveWithin(Reader::Job job) {
  // Not read in time, it leads nowhere.
  return arriveAt(reader_.runWithin(std::move(job), kBrowseWait).value_or(Destination{}));
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

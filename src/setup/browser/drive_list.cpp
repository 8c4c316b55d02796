#include "setup/browser/drive_list.h"

#include <optional>
#include <vector>

#include "setup/browser/folder_path.h"
#include "setup/browser/folder_reading.h"

namespace slidewell::setup {
namespace {

// The roots of the machine's drives, "C:\" and so on, in letter order.
std::vector<std::wstring> driveRoots() {
  std::vector<wchar_t> buffer(GetLogicalDriveStringsW(0, nullptr) + 1);
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  std::vector<std::wstring> roots;
  if (length == 0 || length >= buffer.size()) return roots;  // failed, or drives appeared in between
  for (const wchar_t* root = buffer.data(); *root != L'\0'; root += roots.back().size() + 1) {
    roots.emplace_back(root);
  }
  return roots;
}

}  // namespace

DriveList::DriveList(HWND combo, std::wstring_view startFolder) : combo_(combo) {
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  for (const auto& root : driveRoots()) {
    const auto letter = driveLetterOf(root);
    if (!letter) continue;
    const UINT type = GetDriveTypeW(root.c_str());
    const bool quickToRead = type == DRIVE_FIXED || type == DRIVE_RAMDISK;
    const std::wstring label = quickToRead ? labelOfReadableDrive(*letter).value_or(L"") : L"";
    // Appended in letter order, so that the entries and the drives stay side by side.
    SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(driveText(*letter, label).c_str()));
    drives_.push_back(Drive{*letter, label});
  }
  showDriveOf(startFolder);
}

std::wstring DriveList::text() const {
  const int index = currentIndex();
  if (index < 0) return {};
  const Drive& drive = drives_[static_cast<std::size_t>(index)];
  return driveText(drive.letter, drive.label);
}

std::optional<wchar_t> DriveList::current() const {
  const int index = currentIndex();
  if (index < 0) return std::nullopt;
  return drives_[static_cast<std::size_t>(index)].letter;
}

std::optional<wchar_t> DriveList::listed(std::wstring_view text) const {
  const auto letter = driveLetterOf(text);
  if (!letter || indexOf(*letter) < 0) return std::nullopt;
  return letter;
}

void DriveList::showCurrent(wchar_t letter, std::wstring_view label) {
  const int index = indexOf(letter);
  if (index < 0) return;
  Drive& drive = drives_[static_cast<std::size_t>(index)];
  if (drive.label != label) {
    drive.label = label;
    const std::wstring text = driveText(letter, label);
    SendMessageW(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DriveList::showDriveOf(std::wstring_view folder) {
  const auto letter = driveLetterOf(folder);
  const int index = letter ? indexOf(*letter) : -1;
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int DriveList::indexOf(wchar_t letter) const {
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    if (drives_[i].letter == letter) return static_cast<int>(i);
  }
  return -1;
}

int DriveList::currentIndex() const {
  const auto index = static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
  return index >= 0 && index < static_cast<int>(drives_.size()) ? index : -1;
}

}  // namespace slidewell::setup

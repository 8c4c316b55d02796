#include "setup/browser/drive_list.h"

#include <optional>
#include <vector>

#include "setup/browser/folder_reading.h"
#include "setup/browser/folder_path.h"
#include "win/window_text.h"

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
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(driveText(*letter, label).c_str()));
  }
  showDriveOf(startFolder);
}

std::wstring DriveList::text() const {
  return win::comboItemText(combo_, static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0)));
}

std::optional<wchar_t> DriveList::listed(std::wstring_view text) const {
  const auto letter = driveLetterOf(text);
  if (!letter || indexOf(*letter) < 0) return std::nullopt;
  return letter;
}

void DriveList::showCurrent(wchar_t letter, std::wstring_view label) {
  const int index = indexOf(letter);
  if (index < 0) return;
  if (const std::wstring current = driveText(letter, label); win::comboItemText(combo_, index) != current) {
    SendMessageW(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(current.c_str()));
  }
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DriveList::showDriveOf(std::wstring_view folder) {
  const auto letter = driveLetterOf(folder);
  const int index = letter ? indexOf(*letter) : -1;
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int DriveList::indexOf(wchar_t letter) const {
  const auto count = static_cast<int>(SendMessageW(combo_, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (driveLetterOf(win::comboItemText(combo_, i)) == letter) return i;
  }
  return -1;
}

}  // namespace slidewell::setup

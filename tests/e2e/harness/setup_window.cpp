#include "setup_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "controls.h"
#include "input.h"
#include "screen.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

constexpr DWORD kOpenTimeoutMs = 10000;
// The id of a message box's text, as the system's message boxes have it.
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring entryText(HWND list, bool combo, int index) {
  const auto length = SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

bool isCombo(setup::ControlId id) { return id == setup::ControlId::Drives; }

}  // namespace

SetupWindow::SetupWindow(const std::wstring& workingFolder, std::wstring_view arguments)
    : program_(std::make_unique<RunningProgram>(arguments, workingFolder)) {
  if (!program_->started()) return;
  const HWND found = program_->waitForWindow(L"Screen saver", kOpenTimeoutMs);
  if (found == nullptr) return;
  const HWND interval = controlOf(found, setup::ControlId::Interval);
  if (testing_support::waitUntil([&] { return focusOf(found) == interval; }, kOpenTimeoutMs)) dialog_ = found;
}

HWND SetupWindow::control(setup::ControlId id) const { return controlOf(dialog_, id); }

std::vector<std::wstring> SetupWindow::entries(setup::ControlId list) const {
  const bool combo = isCombo(list);
  const HWND window = control(list);
  const auto count = SendMessageW(window, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::wstring> texts;
  for (int i = 0; i < count; ++i) texts.push_back(entryText(window, combo, i));
  return texts;
}

int SetupWindow::selectedIndex(setup::ControlId list) const {
  return static_cast<int>(SendMessageW(control(list), isCombo(list) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

std::wstring SetupWindow::folderPath() const {
  // The root, the folders above the current one and the current one come first; the current one is selected.
  const auto names = entries(setup::ControlId::Folders);
  const int current = selectedIndex(setup::ControlId::Folders);
  if (current < 0 || names.empty()) return {};
  std::wstring path = names[0];
  for (int i = 1; i <= current; ++i) {
    if (path.back() != L'\\') path += L'\\';
    path += names[static_cast<std::size_t>(i)];
  }
  return path;
}

std::wstring SetupWindow::driveText() const {
  const int index = selectedIndex(setup::ControlId::Drives);
  return index < 0 ? std::wstring() : entryText(control(setup::ControlId::Drives), true, index);
}

std::wstring SetupWindow::text(setup::ControlId id) const { return windowText(control(id)); }

bool SetupWindow::enabled(setup::ControlId id) const { return IsWindowEnabled(control(id)) != FALSE; }

bool SetupWindow::checked(setup::ControlId id) const {
  return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetupWindow::click(setup::ControlId id) {
  RECT rect{};
  GetWindowRect(control(id), &rect);
  // Alternating places, more than the double-click distance apart.
  const int x = (rect.left + rect.right) / 2 + (++clicks_ % 2 == 0 ? 6 : -6);
  movePointerTo(x, (rect.top + rect.bottom) / 2);
  clickLeft();
}

POINT SetupWindow::entryPoint(setup::ControlId list, int index) {
  const HWND window = control(list);
  RECT client{};
  GetClientRect(window, &client);
  const auto height = static_cast<int>(SendMessageW(window, LB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0));
  auto top = static_cast<int>(SendMessageW(window, LB_GETTOPINDEX, 0, 0));
  if (index < top || (index - top + 1) * height > client.bottom) {
    SendMessageW(window, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    top = static_cast<int>(SendMessageW(window, LB_GETTOPINDEX, 0, 0));
  }
  POINT point{std::min<LONG>(client.right / 2, 20 + (++clicks_ % 2) * 8), (index - top) * height + height / 2};
  ClientToScreen(window, &point);
  return point;
}

void SetupWindow::clickEntry(setup::ControlId list, int index) {
  const POINT point = entryPoint(list, index);
  movePointerTo(point.x, point.y);
  clickLeft();
}

void SetupWindow::doubleClickEntry(setup::ControlId list, int index) {
  const POINT point = entryPoint(list, index);
  movePointerTo(point.x, point.y);
  doubleClickLeft();
}

int SetupWindow::fileIndex(const std::wstring& name) const {
  const auto names = entries(setup::ControlId::Files);
  const auto found = std::find(names.begin(), names.end(), name);
  if (found != names.end()) return static_cast<int>(found - names.begin());
  ADD_FAILURE() << "no file " << testing::PrintToString(name);
  return -1;
}

bool SetupWindow::openFolder(const std::wstring& name) {
  const auto names = entries(setup::ControlId::Folders);
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) return false;
  const std::wstring before = folderPath();
  doubleClickEntry(setup::ControlId::Folders, static_cast<int>(found - names.begin()));
  return testing_support::waitUntil([&] { return folderPath() != before; }, 5000);
}

testing_support::Rgb SetupWindow::previewColour() const {
  RECT rect{};
  GetWindowRect(control(setup::ControlId::PreviewBox), &rect);
  return Screenshot::capture().at((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

std::optional<MessageBoxSeen> waitForMessageBox(const RunningProgram& program, const std::wstring& title,
                                                DWORD timeoutMs) {
  const HWND window = program.waitForWindow(title, timeoutMs);
  if (window == nullptr) return std::nullopt;
  MessageBoxSeen box{window, windowText(GetDlgItem(window, kMessageBoxTextId)), {}};
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child) && classNameOf(child) == L"Button") box.buttons.push_back(windowText(child));
  }
  return box;
}

bool answer(const MessageBoxSeen& box) {
  // Enter presses the box's default button, its first one.
  if (GetForegroundWindow() != box.window) return false;
  pressKey(VK_RETURN);
  return testing_support::waitUntil([&] { return IsWindow(box.window) == FALSE; }, 5000);
}

}  // namespace slidewell::e2e

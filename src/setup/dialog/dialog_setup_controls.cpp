#include "setup/dialog/dialog_setup_controls.h"

#include <commctrl.h>

namespace slidewell::setup {

int DialogSetupControls::pictureCount() const {
  const LRESULT count = SendMessageW(item(ControlId::Pictures), LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring DialogSetupControls::picture(int index) const {
  const HWND list = item(ControlId::Pictures);
  const auto entry = static_cast<WPARAM>(index);
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, entry, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(list, LB_GETTEXT, entry, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

void DialogSetupControls::appendPicture(std::wstring_view path) {
  const std::wstring text(path);
  SendMessageW(item(ControlId::Pictures), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int DialogSetupControls::selectedPicture() const {
  const LRESULT index = SendMessageW(item(ControlId::Pictures), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void DialogSetupControls::selectPicture(int index) {
  SendMessageW(item(ControlId::Pictures), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring DialogSetupControls::intervalText() const {
  const HWND box = item(ControlId::Interval);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return text;
}

void DialogSetupControls::setIntervalText(std::wstring_view text) {
  SetWindowTextW(item(ControlId::Interval), std::wstring(text).c_str());
}

bool DialogSetupControls::previewChecked() const {
  return SendMessageW(item(ControlId::Preview), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogSetupControls::setPreviewChecked(bool checked) {
  SendMessageW(item(ControlId::Preview), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogSetupControls::showProgress(bool shown) {
  const HWND bar = item(ControlId::Progress);
  ShowWindow(bar, shown ? SW_SHOW : SW_HIDE);
  UpdateWindow(bar);
}

void DialogSetupControls::setProgressMaximum(int maximum) {
  SendMessageW(item(ControlId::Progress), PBM_SETRANGE32, 0, maximum);
}

void DialogSetupControls::setProgressValue(int value) {
  const HWND bar = item(ControlId::Progress);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0);
  UpdateWindow(bar);
}

void DialogSetupControls::showInformation(std::wstring_view text, std::wstring_view title) {
  MessageBoxW(dialog_, std::wstring(text).c_str(), std::wstring(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace slidewell::setup

#include "setup/dialog/dialog_setup_controls.h"

#include <commctrl.h>

#include "win/window_text.h"

namespace slidewell::setup {

int DialogSetupControls::pictureCount() const {
  const LRESULT count = SendMessageW(item(ControlId::PictureList), LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring DialogSetupControls::picture(int index) const {
  return win::listItemText(item(ControlId::PictureList), index);
}

void DialogSetupControls::appendPicture(std::wstring_view path) {
  const std::wstring text(path);
  SendMessageW(item(ControlId::PictureList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int DialogSetupControls::selectedPicture() const {
  const LRESULT index = SendMessageW(item(ControlId::PictureList), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void DialogSetupControls::selectPicture(int index) {
  SendMessageW(item(ControlId::PictureList), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring DialogSetupControls::intervalText() const {
  return win::windowText(item(ControlId::Interval)).value_or(std::wstring());
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
  showMessage(text, title, MB_ICONINFORMATION);
}

void DialogSetupControls::showWarning(std::wstring_view text, std::wstring_view title) {
  showMessage(text, title, MB_ICONWARNING);
}

void DialogSetupControls::showMessage(std::wstring_view text, std::wstring_view title, UINT icon) {
  MessageBoxW(dialog_, std::wstring(text).c_str(), std::wstring(title).c_str(), MB_OK | icon);
}

std::optional<std::wstring> DialogSetupControls::choosePicture() {
  const int index = selectedPicture();
  if (index < 0) return std::nullopt;
  EnableWindow(item(ControlId::Remove), TRUE);
  return picture(index);
}

void DialogSetupControls::removeSelectedPicture() {
  const HWND list = item(ControlId::PictureList);
  if (const int index = selectedPicture(); index > -1) {
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }
  // The keyboard focus is not left on a button that takes no input.
  const HWND remove = item(ControlId::Remove);
  if (GetFocus() == remove) SetFocus(list);
  EnableWindow(remove, FALSE);
}

}  // namespace slidewell::setup

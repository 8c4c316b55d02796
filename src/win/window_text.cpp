#include "win/window_text.h"

#include <cstddef>

namespace slidewell::win {
namespace {

// LB_ERR and CB_ERR are both -1.
std::wstring itemText(HWND control, int index, UINT lengthMessage, UINT textMessage) {
  if (index < 0) return {};
  const auto item = static_cast<WPARAM>(index);
  const LRESULT length = SendMessageW(control, lengthMessage, item, 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(control, textMessage, item, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return text;
}

}  // namespace

std::optional<std::wstring> windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SetLastError(ERROR_SUCCESS);
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  if (copied == 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::wstring listItemText(HWND list, int index) { return itemText(list, index, LB_GETTEXTLEN, LB_GETTEXT); }

std::wstring comboItemText(HWND combo, int index) { return itemText(combo, index, CB_GETLBTEXTLEN, CB_GETLBTEXT); }

void setListTexts(HWND list, const std::vector<std::wstring>& texts, int selected) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& text : texts) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace slidewell::win

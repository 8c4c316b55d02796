#include "setup/browser/folder_list.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "setup/browser/folder_reading.h"
#include "win/gdi.h"

namespace slidewell::setup {
namespace {

constexpr UINT_PTR kEnterOpensId = 1;

// Enter in the list opens the selected entry as a double-click does: the list asks to receive the key
// (a dialog would otherwise take it for its own) and tells its parent LBN_DBLCLK.
LRESULT CALLBACK enterOpensProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
        return DefSubclassProc(list, message, wParam, lParam) | DLGC_WANTMESSAGE;
      }
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        const auto id = static_cast<WORD>(GetDlgCtrlID(list));
        SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r') return 0;  // the Enter that opened an entry is not a letter to search for
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

FolderList::FolderList(HWND list, std::wstring_view startFolder) : list_(list) {
  SetWindowSubclass(list_, enterOpensProc, kEnterOpensId, 0);
  fitToFont();
  setPath(startFolder);
}

FolderList::~FolderList() { RemoveWindowSubclass(list_, enterOpensProc, kEnterOpensId); }

std::wstring FolderList::path() const { return entries_ ? entries_->current().text() : std::wstring(); }

bool FolderList::setPath(std::wstring_view path) {
  const auto folder = parseFolderPath(path);
  if (!folder) return false;
  const auto items = readFolder(*folder);
  if (!items) return false;
  std::vector<std::wstring> subfolders;
  for (const auto& item : *items) {
    if (item.isFolder) subfolders.push_back(item.name);
  }
  entries_.emplace(*folder, std::move(subfolders));

  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const auto& entry : entries_->entries()) {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
  }
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(entries_->currentIndex()), 0);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return true;
}

bool FolderList::openSelected() {
  if (!entries_) return false;
  const auto index = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
  const auto target = entries_->pathOf(index);
  if (!target || *target == entries_->current()) return false;
  return setPath(target->text());
}

void FolderList::draw(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (entries_ && item.itemID < entries_->entries().size()) {
    const FolderEntry& entry = entries_->entries()[item.itemID];
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT text = item.rcItem;
    text.left += metrics.tmAveCharWidth / 2 + entry.indent * 2 * metrics.tmAveCharWidth;
    const int textColour = (item.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT
                           : selected                            ? COLOR_HIGHLIGHTTEXT
                                                                 : COLOR_WINDOWTEXT;
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(textColour));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &item.rcItem);
}

void FolderList::fitToFont() {
  if ((GetWindowLongPtrW(list_, GWL_STYLE) & LBS_OWNERDRAWFIXED) == 0) return;
  const win::WindowDc dc(list_);
  const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0));
  const win::SelectionScope selected(dc.get(), font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc.get(), &metrics)) {
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, MAKELPARAM(metrics.tmHeight + 2, 0));
  }
}

}  // namespace slidewell::setup

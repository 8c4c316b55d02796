#include "setup/browser/folder_list.h"

#include <utility>
#include <vector>

#include "win/gdi.h"
#include "win/window_text.h"

namespace slidewell::setup {
namespace {

// Enter in the list opens the selected entry as a double-click does: the list asks to receive the key
// (a dialog would otherwise take it for its own) and tells its parent LBN_DBLCLK. The list box's own
// procedure, which does the rest, is kept in the window's user data.
LRESULT CALLBACK enterOpensProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
        return CallWindowProcW(listProc, list, message, wParam, lParam) | DLGC_WANTMESSAGE;
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
  return CallWindowProcW(listProc, list, message, wParam, lParam);
}

}  // namespace

FolderList::FolderList(HWND list)
    : list_(list), listProc_(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC))) {
  SetWindowLongPtrW(list_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(listProc_));
  SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(enterOpensProc));
  fitToFont();
}

FolderList::~FolderList() { SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_)); }

std::wstring FolderList::path() const { return entries_ ? entries_->current().text() : std::wstring(); }

void FolderList::show(const FolderPath& folder, const std::vector<FolderItem>& items) {
  std::vector<std::wstring> subfolders;
  for (const auto& item : items) {
    if (item.isFolder) subfolders.push_back(item.name);
  }
  entries_.emplace(folder, std::move(subfolders));
  std::vector<std::wstring> names;
  for (const auto& entry : entries_->entries()) names.push_back(entry.name);
  win::setListTexts(list_, names, entries_->currentIndex());
}

std::optional<FolderPath> FolderList::selectedTarget() const {
  if (!entries_) return std::nullopt;
  const auto target = entries_->pathOf(static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)));
  if (!target || *target == entries_->current()) return std::nullopt;
  return target;
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
                           : selected                           ? COLOR_HIGHLIGHTTEXT
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

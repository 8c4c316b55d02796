#include "setup/dialog/control_factory.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "win/com.h"

namespace slidewell::setup {
namespace {

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

// Lists need LBS_NOTIFY for their Click, DblClick and Change events, and LBS_NOINTEGRALHEIGHT to keep
// the height of the table instead of a whole number of rows.
constexpr DWORD kListStyle = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;

ControlClass classOf(const ControlLayout& layout) {
  const DWORD sunken = layout.border ? WS_EX_CLIENTEDGE : 0;
  switch (layout.kind) {
    case ControlKind::Label:
      // One line, as laid out. The font and the label's reach make the caption fit; should a system's
      // font be wider still, the ellipsis shows that something was cut, where wrapping would hide
      // the last words out of sight.
      return {L"STATIC", static_cast<DWORD>((layout.rightAligned ? SS_RIGHT : SS_LEFT) | SS_ENDELLIPSIS), 0};
    case ControlKind::TextBox:
      return {L"EDIT", ES_AUTOHSCROLL, sunken};
    case ControlKind::DriveList:
      return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case ControlKind::FolderList:
      // Owner-drawn, so that each folder can be drawn one step further in than the one above it.
      return {L"LISTBOX", kListStyle | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, sunken};
    case ControlKind::FileList:
    case ControlKind::ListBox:
      return {L"LISTBOX", kListStyle, sunken};
    case ControlKind::PushButton:
      // Not BS_DEFPUSHBUTTON: the dialog has no default button, and keeps Enter from all of them.
      return {L"BUTTON", BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::Image:
      return {nullptr, static_cast<DWORD>(layout.border ? WS_BORDER : 0), 0};
    case ControlKind::StatusBar:
      // The dialog places the bar itself, at the table's rectangle, instead of letting it dock.
      return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN, 0};
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, 0, 0};
  }
  return {};
}

int heightOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

// A closed drop-down list is as high as its selection field plus a frame, and the field's height is the
// one thing that sets it; the height given to the window is that of the list when it drops down. What
// the frame adds is measured rather than assumed, since systems differ in it.
void fitClosedHeight(HWND combo, int height) {
  const LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (field == CB_ERR || field <= 0) return;
  SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  const int frame = heightOf(combo) - static_cast<int>(field);
  if (height > frame) SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
}

// Gives `control` the name that screen readers announce for it, through the platform's accessibility
// property service, for a control that has no label before it to be named by. Needs COM on this
// thread. Returns whether the service took the name; a system without the service leaves the control
// unnamed and the dialog works on.
bool nameForScreenReaders(HWND control, std::wstring_view name) {
  win::UniqueCom<IAccPropServices> service;
  if (FAILED(
          win::createInstance(CLSID_AccPropServices, IID_IAccPropServices, reinterpret_cast<void**>(service.put())))) {
    return false;
  }
  // The service keeps its own copy of the text.
  const std::wstring text(name);
  return SUCCEEDED(
      service->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, text.c_str()));
}

}  // namespace

HWND createControl(HWND dialog, const ControlLayout& layout, HINSTANCE instance, PreviewImage& image) {
  const ControlClass kind = classOf(layout);
  // The progress bar lies over the status bar: each draws only where no sibling above it is.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
  if (layout.visible) style |= WS_VISIBLE;
  if (!layout.enabled) style |= WS_DISABLED;
  // Tab visits the controls in window order, so an entry's place in the cycle only says that it has one.
  if (layout.tabIndex) style |= WS_TABSTOP;
  const int id = static_cast<int>(layout.id);
  const std::wstring caption(layout.caption);
  const HWND control = layout.kind == ControlKind::Image
                           ? image.create(dialog, id, style, instance)
                           : CreateWindowExW(kind.exStyle, kind.name, caption.c_str(), style, 0, 0, 0, 0, dialog,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (control == nullptr) return nullptr;
  if (layout.checked) SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
  if (layout.accessibleName) nameForScreenReaders(control, *layout.accessibleName);
  return control;
}

void placeControl(HWND control, const ControlLayout& layout, UINT dpi) {
  const PixelRect place = toPixels(windowPlace(layout), static_cast<int>(dpi));
  SetWindowPos(control, nullptr, place.left, place.top, place.width(), place.height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (layout.kind == ControlKind::DriveList) fitClosedHeight(control, place.height());
}

win::UniqueFont createDialogFont(UINT dpi) {
  constexpr int kPoints = 8;
  constexpr int kPointsPerInch = 72;
  LOGFONTW font{};
  // Negative: the height of the characters themselves, without the internal leading.
  font.lfHeight = -MulDiv(kPoints, static_cast<int>(dpi), kPointsPerInch);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  constexpr std::wstring_view kFace = L"MS Shell Dlg";
  std::copy(kFace.begin(), kFace.end(), font.lfFaceName);
  return win::UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace slidewell::setup

#include "setup/setup_dialog.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>

#include "setup/configuration.h"
#include "setup/dialog_controls.h"
#include "setup/dialog_font.h"
#include "setup/folder_reading.h"
#include "setup/join_path.h"
#include "setup/picture_list_rules.h"
#include "win/com.h"
#include "win/dpi.h"
#include "win/picture_file.h"

namespace slidewell {
namespace setup {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellSetupDialog";
// A fixed single-line border and the close box, without minimise or maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

bool registerClass(HINSTANCE instance) {
  // The status bar and the progress bar are common controls.
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = win::objectWindowProcedure<SetupDialog>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

POINT pointFrom(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The window's text as the window itself reports it; nullopt when it could not be read.
std::optional<std::wstring> textOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SetLastError(ERROR_SUCCESS);
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  if (copied == 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

// Ending the program at once: no further event of any window runs.
[[noreturn]] void endProgram() { ExitProcess(0); }

}  // namespace

SetupDialog::SetupDialog(HINSTANCE instance) : instance_(instance) {}

SetupDialog::~SetupDialog() {
  setupControls_.reset();
  browser_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
}

bool SetupDialog::create() {
  if (!registerClass(instance_)) return false;
  const std::wstring caption(kWindow.caption);
  // Created at the screen's origin, so that it starts out on the primary monitor and takes its DPI;
  // OnCreate then gives it its place and size.
  CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr, instance_, this);
  return window_ != nullptr;
}

void SetupDialog::show() { ShowWindow(window_, SW_SHOW); }

HWND SetupDialog::control(ControlId id) const {
  const auto table = dialogControls();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].id == id) return controls_[i];
  }
  return nullptr;
}

void SetupDialog::status(std::wstring_view x) const {
  const HWND line = control(ControlId::StatusBar);
  if (const auto current = textOf(line); current && *current == x) return;
  SetWindowTextW(line, std::wstring(x).c_str());
}

LRESULT SetupDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_CLOSE:
      OnCancel();
    case WM_MOUSEMOVE:
      OnMouseMove(pointFrom(lParam));
      return 0;
    case WM_SETCURSOR:
      OnSetCursor(reinterpret_cast<HWND>(wParam), HIWORD(lParam));
      // FALSE lets a control go on to set its own cursor.
      if (reinterpret_cast<HWND>(wParam) != window_) return FALSE;
      break;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool SetupDialog::OnCreate() {
  dpi_ = win::windowDpi(window_);
  useIcons();
  font_ = createDialogFont(dpi_);
  const auto table = dialogControls();
  for (std::size_t i = 0; i < table.size(); ++i) {
    controls_[i] = createControl(window_, table[i], instance_, picture_);
    if (controls_[i] == nullptr) return false;
  }
  useFont();
  layOut();
  // The frame around an empty client area gives how far the window's corner lies from the client's.
  const RECT frame = win::windowRectForClient(RECT{}, kStyle, kExStyle, dpi_);
  placeWindow(POINT{twipsToPixels(kWindow.left, static_cast<int>(dpi_)) + frame.left,
                    twipsToPixels(kWindow.top, static_cast<int>(dpi_)) + frame.top});
  lastFocus_ = control(ControlId::Interval);
  browser_.emplace(control(ControlId::Drives), control(ControlId::Folders), control(ControlId::Files),
                   control(ControlId::Add), processCurrentFolder());
  setupControls_.emplace(window_, *browser_);
  OnLoad();
  return true;
}

// Load: the stored configuration; the progress bar shows only while a save runs.
void SetupDialog::OnLoad() {
  xload(*setupControls_, store_);
  const HWND progress = control(ControlId::Progress);
  ShowWindow(progress, SW_HIDE);
  SendMessageW(progress, PBM_SETPOS, 0, 0);
}

void SetupDialog::OnActivate(bool active) {
  // A window that is not a dialog would give the focus to itself on activation; the focus goes back to
  // the control that had it instead (`temps` at first), or to the first one that can take it.
  if (!active) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
    return;
  }
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindowEnabled(target) || !IsWindowVisible(target)) {
    target = GetNextDlgTabItem(window_, nullptr, FALSE);
  }
  if (target != nullptr) SetFocus(target);
}

void SetupDialog::OnCommand(int id, int code) {
  // Esc, from anywhere in the dialog, or "Cancel".
  if (id == IDCANCEL || (id == static_cast<int>(ControlId::Cancel) && code == BN_CLICKED)) OnCancel();
  // Controls may report changes while the window is being built, before there is a browser to follow them.
  if (!browser_) return;
  switch (id) {
    case static_cast<int>(ControlId::Drives):
      if (code == CBN_SELCHANGE) browser_->followDrive();
      break;
    case static_cast<int>(ControlId::Folders):
      // Opening an entry is the folder list's Change; selecting one is not.
      if (code == LBN_DBLCLK) browser_->openSelectedFolder();
      break;
    case static_cast<int>(ControlId::Files):
      // A list box tells LBN_SELCHANGE for every click on an entry, also on the one already selected.
      if (code == LBN_SELCHANGE) OnFileClick();
      if (code == LBN_DBLCLK) addp(*setupControls_);
      break;
    case static_cast<int>(ControlId::Add):
      if (code == BN_CLICKED) addp(*setupControls_);
      break;
    case static_cast<int>(ControlId::Pictures):
      if (code == LBN_SELCHANGE) OnPictureClick();
      break;
    case static_cast<int>(ControlId::Remove):
      if (code == BN_CLICKED) OnRemove();
      break;
    case static_cast<int>(ControlId::Ok):
      if (code == BN_CLICKED) OnOk();
      break;
    default:
      break;
  }
}

void SetupDialog::OnFileClick() {
  const std::wstring name = browser_->selectedFile();
  if (name.empty()) return;
  EnableWindow(control(ControlId::Add), TRUE);
  prev(joinpath(browser_->folderPath(), name));
}

void SetupDialog::OnPictureClick() {
  const int index = setupControls_->selectedPicture();
  if (index < 0) return;
  EnableWindow(control(ControlId::Remove), TRUE);
  prev(setupControls_->picture(index));
}

void SetupDialog::OnRemove() {
  const HWND list = control(ControlId::Pictures);
  const int index = setupControls_->selectedPicture();
  if (index > -1) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  // The keyboard focus is not left on a button that takes no input.
  const HWND remove = control(ControlId::Remove);
  if (GetFocus() == remove) SetFocus(list);
  EnableWindow(remove, FALSE);
}

void SetupDialog::OnOk() {
  if (xsave(*setupControls_, store_)) endProgram();
  // Nothing is lost: the dialog still holds the whole configuration, for another "OK" or "Cancel".
  MessageBoxW(window_, std::wstring(kSaveFailedText).c_str(), std::wstring(kSaveFailedTitle).c_str(),
              MB_OK | MB_ICONWARNING);
}

void SetupDialog::prev(const std::wstring& path) {
  if (!setupControls_->previewChecked()) return;
  auto loaded = win::loadPicture(path);
  picture_.show(loaded ? std::move(loaded->bitmap) : win::UniqueBitmap());
  UpdateWindow(picture_.window());
}

bool SetupDialog::OnDrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID != static_cast<UINT>(ControlId::Folders) || !browser_) return false;
  browser_->drawFolder(item);
  return true;
}

void SetupDialog::OnCancel() { endProgram(); }

bool SetupDialog::takesEnter(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  // A control that asks for Enter keeps it: an open drop-down list closes on it.
  const auto wants = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
  return (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) == 0;
}

void SetupDialog::OnMouseMove(POINT where) {
  // The window gets the moves over its background and over the controls that let the pointer through
  // (labels, the image) or take no mouse input (disabled ones). Like the platform's own hit test,
  // looking for the control under the pointer passes over disabled and hidden ones.
  const HWND target = ChildWindowFromPointEx(window_, where, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
  if (target != nullptr) showHelpFor(target);
}

void SetupDialog::OnSetCursor(HWND target, UINT mouseMessage) {
  // Every control passes WM_SETCURSOR to its parent first, with each move of the pointer over it.
  if (mouseMessage == WM_MOUSEMOVE && target != window_) showHelpFor(target);
}

void SetupDialog::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  // The old font lives until every control has the new one.
  const win::UniqueFont previous = std::exchange(font_, createDialogFont(dpi_));
  useIcons();
  useFont();
  if (browser_) browser_->fitToFont();
  layOut();
  placeWindow(POINT{suggested.left, suggested.top});
}

void SetupDialog::useIcons() {
  // The icons shown until now go only once the window has the new ones.
  WindowIcons icons(instance_, dpi_);
  icons.applyTo(window_);
  icons_ = std::move(icons);
}

void SetupDialog::useFont() {
  for (const HWND each : controls_) {
    SendMessageW(each, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
}

void SetupDialog::layOut() {
  const auto table = dialogControls();
  for (std::size_t i = 0; i < table.size(); ++i) placeControl(controls_[i], table[i], dpi_);
}

void SetupDialog::placeWindow(POINT topLeft) {
  const RECT client{0, 0, twipsToPixels(kWindow.clientWidth, static_cast<int>(dpi_)),
                    twipsToPixels(kWindow.clientHeight, static_cast<int>(dpi_))};
  const RECT frame = win::windowRectForClient(client, kStyle, kExStyle, dpi_);
  SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetupDialog::showHelpFor(HWND target) {
  if (target == window_) {
    status(kWindow.backgroundHelp);
    return;
  }
  if (GetParent(target) != window_) return;
  const ControlLayout* layout = findControl(GetDlgCtrlID(target));
  if (layout != nullptr && layout->help) status(*layout->help);
}

}  // namespace setup

int runSetupDialog(HINSTANCE instance) {
  // The preview loads pictures through COM.
  const win::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  setup::SetupDialog dialog(instance);
  if (!dialog.create()) return 1;
  dialog.show();
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (dialog.takesEnter(message)) continue;
    if (IsDialogMessageW(dialog.window(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace slidewell

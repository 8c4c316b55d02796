#include "setup/dialog/setup_dialog.h"

#include <commctrl.h>

#include <utility>

#include "res/resource.h"
#include "setup/browser/folder_reading.h"
#include "setup/configuration.h"
#include "setup/dialog/control_factory.h"
#include "win/picture_file.h"
#include "win/platform.h"
#include "win/window_text.h"

namespace slidewell::setup {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellSetupDialog";
// A fixed single-line border and the close box, without minimise or maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

POINT pointFrom(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

constexpr int kBaseDpi = 96;
constexpr int kSmallIcon = 16;
constexpr int kBigIcon = 32;

// The image of the icon nearest that size, scaled to it when no image has it exactly. Not shared
// (LR_SHARED), since the system keeps shared icons at one size only.
win::UniqueIcon loadIcon(HINSTANCE instance, int size) {
  return win::UniqueIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_SLIDEWELL), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

WindowIcons::WindowIcons(HINSTANCE instance, UINT dpi)
    : small_(loadIcon(instance, MulDiv(kSmallIcon, static_cast<int>(dpi), kBaseDpi))),
      big_(loadIcon(instance, MulDiv(kBigIcon, static_cast<int>(dpi), kBaseDpi))) {}

void WindowIcons::applyTo(HWND window) const {
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
}

SetupDialog::SetupDialog(HINSTANCE instance, settings::SettingsStore& store, std::function<void()> endDialog,
                         HWND owner)
    : instance_(instance), store_(store), endDialog_(std::move(endDialog)), owner_(owner) {}

SetupDialog::~SetupDialog() {
  // The owner is enabled before its dialog goes, so that it is the window activated next.
  disabledOwner_.reset();
  setupControls_.reset();
  browser_.reset();
  destroy();
}

bool SetupDialog::create() {
  // The status bar and the progress bar are common controls.
  win::loadCommonControls(ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES);
  const std::wstring caption(kWindow.caption);
  // Created at the screen's origin, so that it starts out on the primary monitor and takes its DPI;
  // onCreate then gives it its place and size.
  if (!win::WindowObject::create(instance_, {kClassName, GetSysColorBrush(COLOR_BTNFACE)},
                                 {.style = kStyle, .exStyle = kExStyle, .title = caption.c_str(), .parent = owner_})) {
    return false;
  }
  if (owner_ != nullptr) {
    EnableWindow(owner_, FALSE);
    disabledOwner_.reset(owner_);
  }
  return true;
}

void SetupDialog::show() { ShowWindow(hwnd(), SW_SHOW); }

void SetupDialog::status(std::wstring_view x) const {
  const HWND line = control(ControlId::StatusBar);
  if (const auto current = win::windowText(line); current && *current == x) return;
  SetWindowTextW(line, std::wstring(x).c_str());
}

LRESULT SetupDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return onCreate() ? 0 : -1;
    case WM_ACTIVATE:
      onActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      if (onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_CLOSE:
      onCancel();
      return 0;
    case WM_MOUSEMOVE:
      onMouseMove(pointFrom(lParam));
      return 0;
    case WM_SETCURSOR:
      onSetCursor(reinterpret_cast<HWND>(wParam), HIWORD(lParam));
      // FALSE lets a control go on to set its own cursor.
      if (reinterpret_cast<HWND>(wParam) != hwnd()) return FALSE;
      break;
    case WM_DPICHANGED:
      onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd(), message, wParam, lParam);
}

bool SetupDialog::onCreate() {
  const HWND window = hwnd();
  dpi_ = win::windowDpi(window);
  useIcons();
  font_ = createDialogFont(dpi_);
  for (const ControlLayout& layout : dialogControls()) {
    if (createControl(window, layout, instance_, picture_) == nullptr) return false;
  }
  useFont();
  layOut();
  // The frame around an empty client area gives how far the window's corner lies from the client's.
  const RECT frame = win::windowRectForClient(RECT{}, kStyle, kExStyle, dpi_);
  placeWindow(POINT{twipsToPixels(kWindow.left, static_cast<int>(dpi_)) + frame.left,
                    twipsToPixels(kWindow.top, static_cast<int>(dpi_)) + frame.top});
  lastFocus_ = control(ControlId::Interval);
  previews_.emplace(kPreviewStallBound);
  browser_.emplace(control(ControlId::Drives), control(ControlId::Folders), control(ControlId::Files),
                   control(ControlId::Add), processCurrentFolder());
  setupControls_.emplace(window, *browser_);
  onLoad();
  return true;
}

// Load: the stored configuration; the progress bar shows only while a save runs.
void SetupDialog::onLoad() {
  xload(*setupControls_, store_);
  setupControls_->showProgress(false);
  setupControls_->setProgressValue(0);
}

void SetupDialog::onActivate(bool active) {
  // A window that is not a dialog would give the focus to itself on activation; the focus goes back to
  // the control that had it instead (`temps` at first), or to the first one that can take it.
  if (!active) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd(), focus)) lastFocus_ = focus;
    return;
  }
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindowEnabled(target) || !IsWindowVisible(target)) {
    target = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  }
  if (target != nullptr) SetFocus(target);
}

void SetupDialog::onCommand(int id, int code) {
  // Esc, from anywhere in the dialog, or "Cancel".
  if (id == IDCANCEL || (id == static_cast<int>(ControlId::Cancel) && code == BN_CLICKED)) {
    onCancel();
    return;
  }
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
      if (code == LBN_SELCHANGE) onFileClick();
      if (code == LBN_DBLCLK) addp(*setupControls_);
      break;
    case static_cast<int>(ControlId::Add):
      if (code == BN_CLICKED) addp(*setupControls_);
      break;
    case static_cast<int>(ControlId::PictureList):
      if (code == LBN_SELCHANGE) onPictureClick();
      break;
    case static_cast<int>(ControlId::Remove):
      if (code == BN_CLICKED) onRemove();
      break;
    case static_cast<int>(ControlId::Ok):
      if (code == BN_CLICKED) onOk();
      break;
    default:
      break;
  }
}

void SetupDialog::onFileClick() {
  if (const auto path = browser_->chooseFile()) prev(*path);
}

void SetupDialog::onPictureClick() {
  if (const auto path = setupControls_->choosePicture()) prev(*path);
}

void SetupDialog::onRemove() { setupControls_->removeSelectedPicture(); }

void SetupDialog::onOk() {
  if (xsave(*setupControls_, store_)) {
    end();
    return;
  }
  // Nothing is lost: the dialog still holds the whole configuration, for another "OK" or "Cancel".
  setupControls_->showWarning(kSaveFailedText, kSaveFailedTitle);
}

void SetupDialog::prev(const std::wstring& path) {
  if (!setupControls_->previewChecked()) return;
  RECT box{};
  GetClientRect(picture_.hwnd(), &box);
  const SIZE size{box.right, box.bottom};
  previews_->start(
      [path, size](const win::PictureDecoder& decoder,
                   picture::ReadProgress& progress) -> std::optional<win::UniqueBitmap> {
        auto loaded = decoder.decodeToFill(path, size, PreviewImage::background(), &progress);
        if (!loaded) return std::nullopt;
        return std::move(loaded->bitmap);
      },
      [this](std::optional<win::UniqueBitmap> read) { showPreview(std::move(read).value_or(win::UniqueBitmap())); });
}

void SetupDialog::showPreview(win::UniqueBitmap bitmap) {
  picture_.show(std::move(bitmap));
  UpdateWindow(picture_.hwnd());
}

bool SetupDialog::onDrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID != static_cast<UINT>(ControlId::Folders) || !browser_) return false;
  browser_->drawFolder(item);
  return true;
}

void SetupDialog::onCancel() { end(); }

void SetupDialog::end() {
  // `endDialog` may end the process at once, leaving no destructor to enable the owner.
  disabledOwner_.reset();
  endDialog_();
}

bool SetupDialog::takesFirst(MSG& message) const { return takesEnter(message) || IsDialogMessageW(hwnd(), &message); }

bool SetupDialog::takesEnter(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
  if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)) return false;
  // A control that asks for Enter keeps it: an open drop-down list closes on it.
  const auto wants = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
  return (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) == 0;
}

void SetupDialog::onMouseMove(POINT where) {
  // The window gets the moves over its background and over the controls that let the pointer through
  // (labels, the image) or take no mouse input (disabled ones). Like the platform's own hit test,
  // looking for the control under the pointer passes over disabled and hidden ones.
  const HWND target = ChildWindowFromPointEx(hwnd(), where, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
  if (target != nullptr) showHelpFor(target);
}

void SetupDialog::onSetCursor(HWND target, UINT mouseMessage) {
  // Every control passes WM_SETCURSOR to its parent first, with each move of the pointer over it.
  if (mouseMessage == WM_MOUSEMOVE && target != hwnd()) showHelpFor(target);
}

void SetupDialog::onDpiChanged(UINT dpi, const RECT& suggested) {
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
  icons.applyTo(hwnd());
  icons_ = std::move(icons);
}

void SetupDialog::useFont() {
  for (const ControlLayout& layout : dialogControls()) {
    SendMessageW(control(layout.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
}

void SetupDialog::layOut() {
  for (const ControlLayout& layout : dialogControls()) placeControl(control(layout.id), layout, dpi_);
}

void SetupDialog::placeWindow(POINT topLeft) {
  const RECT client{0, 0, twipsToPixels(kWindow.clientWidth, static_cast<int>(dpi_)),
                    twipsToPixels(kWindow.clientHeight, static_cast<int>(dpi_))};
  const RECT frame = win::windowRectForClient(client, kStyle, kExStyle, dpi_);
  SetWindowPos(hwnd(), nullptr, topLeft.x, topLeft.y, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetupDialog::showHelpFor(HWND target) {
  if (target == hwnd()) {
    status(kWindow.backgroundHelp);
    return;
  }
  if (GetParent(target) != hwnd()) return;
  const ControlLayout* layout = findControl(GetDlgCtrlID(target));
  if (layout != nullptr && layout->help) status(*layout->help);
}

}  // namespace slidewell::setup

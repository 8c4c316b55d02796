#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "setup/browser/browser.h"
#include "setup/dialog/dialog_layout.h"
#include "setup/dialog/dialog_setup_controls.h"
#include "setup/dialog/preview_image.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/picture_file.h"
#include "win/window_object.h"
#include "win/worker.h"

namespace slidewell::setup {

// The program's icon for a window's title bar (small) and for Alt+Tab (big), at the sizes the
// platform uses at `dpi`: 16 and 32 pixels at 96 DPI, and a larger image of the icon at more.
class WindowIcons {
 public:
  WindowIcons(HINSTANCE instance, UINT dpi);

  // Gives both to `window`, which shows them from then on; the previous ones may then go.
  void applyTo(HWND window) const;

 private:
  win::UniqueIcon small_;
  win::UniqueIcon big_;
};

// `SetupDialog`: the configuration window with every control of the layout table, placed for the DPI of
// its monitor, and its help line. It opens on the configuration in `store`; the user browses for
// bitmaps, edits the picture list and previews pictures. "OK" saves everything to `store` and calls
// `endDialog`, or, when the store refused a write, says so and stays open. "Cancel", Esc and the close
// box call `endDialog` without writing. In the program `endDialog` ends the process at once.
//
// Given an `owner` (the window that asked for the dialog), the dialog belongs to it and keeps it disabled
// for as long as it is open: the owner is enabled again before `endDialog` is called, and when the
// dialog goes.
//
// Keyboard: the message loop passes every message through takesFirst(), where IsDialogMessage moves
// the focus with Tab and sends WM_COMMAND IDCANCEL for Esc ("Cancel" has an id of its own and is
// pressed that way too). Enter is taken before the dialog manager sees it: that manager would press the
// focused push button, which it makes the default one, or send IDOK. So Enter presses no button,
// closes nothing and saves nothing. A control that asks for Enter through WM_GETDLGCODE
// (DLGC_WANTMESSAGE) still gets it: an open drop-down list closes on it, and that is how the folder list
// can open the selected folder.
class SetupDialog final : public win::WindowObject {
 public:
  SetupDialog(HINSTANCE instance, settings::SettingsStore& store, std::function<void()> endDialog,
              HWND owner = nullptr);
  ~SetupDialog();

  // Creates the window, hidden, with all its controls laid out; false when that failed.
  bool create();
  void show();

  HWND control(ControlId id) const { return dialogItem(hwnd(), id); }

  // True when the dialog takes `message` for itself before the message loop translates it: Enter key
  // strokes, and what the dialog manager handles.
  bool takesFirst(MSG& message) const;

  // `status`: makes `x` the text of the help line. Writes only when the line shows something else;
  // a line that cannot be read is written all the same, and a failing write is ignored.
  void status(std::wstring_view x) const;

  // `prev`: while "Preview" is checked, shows the picture at `path` in the preview box once it is read,
  // off the window's thread; one that cannot be loaded, or whose read stops for kPreviewStallBound, leaves
  // the box empty. A newer call supersedes an older one still being read.
  void prev(const std::wstring& path);

  static constexpr std::chrono::milliseconds kPreviewStallBound{2000};

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool onCreate();
  void onLoad();
  void onActivate(bool active);
  void onCommand(int id, int code);
  void onFileClick();
  void onPictureClick();
  void onRemove();
  // An empty bitmap empties the box.
  void showPreview(win::UniqueBitmap bitmap);
  void onOk();
  void onCancel();
  void end();
  bool onDrawItem(const DRAWITEMSTRUCT& item) const;
  void onMouseMove(POINT where);
  void onSetCursor(HWND target, UINT mouseMessage);
  void onDpiChanged(UINT dpi, const RECT& suggested);

  bool takesEnter(const MSG& message) const;
  void useIcons();
  void useFont();
  void layOut();
  void placeWindow(POINT topLeft);
  void showHelpFor(HWND target);

  HINSTANCE instance_;
  settings::SettingsStore& store_;
  std::function<void()> endDialog_;
  HWND owner_;
  win::DisabledWindow disabledOwner_;
  UINT dpi_ = 96;
  win::UniqueFont font_;
  std::optional<WindowIcons> icons_;
  PreviewImage picture_;
  // Each preview thread keeps one imaging factory for all the pictures it reads.
  std::optional<win::Worker<win::PictureDecoder, win::UniqueBitmap>> previews_;
  // The browser and the adapter work on the controls, so they exist only while the controls do.
  std::optional<Browser> browser_;
  std::optional<DialogSetupControls> setupControls_;
  // The control that had the focus when the window was last deactivated, given it back on activation.
  HWND lastFocus_ = nullptr;
};

}  // namespace slidewell::setup

#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/registry_settings_store.h"
#include "setup/browser.h"
#include "setup/dialog_layout.h"
#include "setup/dialog_setup_controls.h"
#include "setup/preview_image.h"
#include "setup/window_icons.h"
#include "win/window_object.h"
#include "win/gdi.h"

namespace slidewell {

// Runs the configuration dialog until the user ends it; returns the program's exit code.
int runSetupDialog(HINSTANCE instance);

namespace setup {

// `SetupDialog`: the configuration window with every control of the layout table, placed for the DPI of
// its monitor, and its help line. It opens on the stored configuration; the user browses for bitmaps,
// edits the picture list and previews pictures. "OK" saves everything and ends the program at once, or,
// when the store refused a write, says so and stays open. "Cancel", Esc and the close box end the
// program at once without writing.
//
// Keyboard: the modal loop passes every message through IsDialogMessage, which moves the focus with
// Tab and sends WM_COMMAND IDCANCEL for Esc ("Cancel" has an id of its own and is pressed that way
// too). Enter is taken before the dialog manager sees it: that manager would press the focused push
// button, which it makes the default one, or send IDOK. So Enter presses no button, closes nothing
// and saves nothing. A control that asks for Enter through WM_GETDLGCODE (DLGC_WANTMESSAGE) still gets
// it: an open drop-down list closes on it, and that is how the folder list can open the selected folder.
class SetupDialog {
 public:
  explicit SetupDialog(HINSTANCE instance);
  SetupDialog(const SetupDialog&) = delete;
  SetupDialog& operator=(const SetupDialog&) = delete;
  ~SetupDialog();

  // Creates the window, hidden, with all its controls laid out; false when that failed.
  bool create();
  void show();

  HWND window() const { return window_; }
  HWND control(ControlId id) const;

  // True when `message` is an Enter key stroke that the dialog takes for itself, so that the modal loop
  // must not pass it on.
  bool takesEnter(const MSG& message) const;

  // `status`: makes `x` the text of the help line. Writes only when the line shows something else;
  // a line that cannot be read is written all the same, and a failing write is ignored.
  void status(std::wstring_view x) const;

  // `prev`: while "Preview" is checked, shows the picture at `path` in the preview box; one that cannot
  // be loaded leaves the box empty.
  void prev(const std::wstring& path);

 private:
  template <typename Object>
  friend LRESULT CALLBACK win::objectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
  void attach(HWND window) { window_ = window; }
  void detach() { window_ = nullptr; }
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  void OnLoad();
  void OnActivate(bool active);
  void OnCommand(int id, int code);
  void OnFileClick();
  void OnPictureClick();
  void OnRemove();
  void OnOk();
  [[noreturn]] void OnCancel();
  bool OnDrawItem(const DRAWITEMSTRUCT& item) const;
  void OnMouseMove(POINT where);
  void OnSetCursor(HWND target, UINT mouseMessage);
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  void useIcons();
  void useFont();
  void layOut();
  void placeWindow(POINT topLeft);
  void showHelpFor(HWND target);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;
  win::UniqueFont font_;
  std::optional<WindowIcons> icons_;
  std::array<HWND, kControlCount> controls_{};
  PreviewImage picture_;
  RegistrySettingsStore store_;
  // The browser and the adapter work on the controls, so they exist only while the controls do.
  std::optional<Browser> browser_;
  std::optional<DialogSetupControls> setupControls_;
  // The control that had the focus when the window was last deactivated, given it back on activation.
  HWND lastFocus_ = nullptr;
};

}  // namespace setup
}  // namespace slidewell

#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bmp_file.h"
#include "program.h"
#include "setup/dialog/dialog_layout.h"

namespace slidewell::e2e {

// The setup dialog of a running slidewell.scr ("/c"), read and driven from the test program: lists and
// buttons through messages that Wine carries across processes, clicks through real mouse input.
class SetupWindow {
 public:
  // Starts the program with `arguments` in `workingFolder` (where its browser starts) and waits until the
  // dialog is open and ready for input; check opened().
  explicit SetupWindow(const std::wstring& workingFolder = {}, std::wstring_view arguments = L"/c");

  bool opened() const { return dialog_ != nullptr; }
  RunningProgram& program() { return *program_; }
  HWND window() const { return dialog_; }
  HWND control(setup::ControlId id) const;

  // The entries of a list box, or of the drive list.
  std::vector<std::wstring> entries(setup::ControlId list) const;
  int selectedIndex(setup::ControlId list) const;
  // The folder list's current folder as a full path ("C:\" at a root), read from its entries.
  std::wstring folderPath() const;
  // The drive list's current drive as it shows it ("c:", "c: [LABEL]").
  std::wstring driveText() const;
  std::wstring text(setup::ControlId id) const;
  bool enabled(setup::ControlId id) const;
  bool checked(setup::ControlId id) const;

  // Mouse clicks, the pointer moved there first. Two clicks in a row never make a double-click.
  void click(setup::ControlId id);
  void clickEntry(setup::ControlId list, int index);
  void doubleClickEntry(setup::ControlId list, int index);
  // The file list's entry of that name; a test failure and -1 when there is none.
  int fileIndex(const std::wstring& name) const;
  // Opens the folder list's entry of that name by a double-click; false when there is none.
  bool openFolder(const std::wstring& name);

  // The colour shown in the middle of the preview box.
  testing_support::Rgb previewColour() const;

 private:
  POINT entryPoint(setup::ControlId list, int index);

  std::unique_ptr<RunningProgram> program_;
  HWND dialog_ = nullptr;
  int clicks_ = 0;
};

// A message box of the program under test, as the user sees it.
struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring text;
  std::vector<std::wstring> buttons;
};

// Waits for a message box with that title; nullopt when none came.
std::optional<MessageBoxSeen> waitForMessageBox(const RunningProgram& program, const std::wstring& title,
                                                DWORD timeoutMs);
// Presses its first button (Enter, the box being in the foreground), and waits until the box is gone.
bool answer(const MessageBoxSeen& box);

}  // namespace slidewell::e2e

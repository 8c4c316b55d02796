#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "setup/browser/browser.h"
#include "setup/dialog/control_factory.h"
#include "setup/setup_controls.h"

namespace slidewell::setup {

// The setup dialog's real controls behind the interface that adding pictures, loading and saving use,
// and the one owner of the picture list, its "Remove" button, the interval box, "Preview", the progress
// bar and the dialog's message boxes. Selecting a picture by index tells nobody (no Click), so a save
// that walks the list previews nothing.
class DialogSetupControls final : public SetupControls {
 public:
  DialogSetupControls(HWND dialog, Browser& browser) : dialog_(dialog), browser_(browser) {}

  int pictureCount() const override;
  std::wstring picture(int index) const override;
  void appendPicture(std::wstring_view path) override;
  int selectedPicture() const override;
  void selectPicture(int index) override;

  std::wstring selectedFile() const override { return browser_.selectedFile(); }
  std::wstring folderPath() const override { return browser_.folderPath(); }
  void setFolderPath(std::wstring_view path) override { browser_.moveToFolder(path); }
  std::wstring driveText() const override { return browser_.driveText(); }
  void setDriveText(std::wstring_view text) override { browser_.moveToDrive(text); }

  std::wstring intervalText() const override;
  void setIntervalText(std::wstring_view text) override;

  bool previewChecked() const override;
  void setPreviewChecked(bool checked) override;

  // Each change of the bar is drawn at once: a save does not let the dialog paint until it ends.
  void showProgress(bool shown) override;
  void setProgressMaximum(int maximum) override;
  void setProgressValue(int value) override;

  void showInformation(std::wstring_view text, std::wstring_view title) override;
  void showWarning(std::wstring_view text, std::wstring_view title);

  // A click in the picture list: enables "Remove" and gives the chosen picture's path; nullopt when
  // no entry is selected.
  std::optional<std::wstring> choosePicture();
  // "Remove": the selected entry leaves the list, and "Remove" is disabled until the next choice.
  void removeSelectedPicture();

 private:
  HWND item(ControlId id) const { return dialogItem(dialog_, id); }
  void showMessage(std::wstring_view text, std::wstring_view title, UINT icon);

  HWND dialog_;
  Browser& browser_;
};

}  // namespace slidewell::setup

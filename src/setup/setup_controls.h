#pragma once

#include <string>
#include <string_view>

namespace slidewell::setup {

// The setup dialog's controls as the procedures that add pictures and load and save the configuration
// see them. The dialog implements it over its real controls; tests implement it with recording fakes.
class SetupControls {
 public:
  virtual ~SetupControls() = default;

  // List1, the picture list. An index of -1 means "no entry".
  virtual int pictureCount() const = 0;
  virtual std::wstring picture(int index) const = 0;
  virtual void appendPicture(std::wstring_view path) = 0;
  virtual int selectedPicture() const = 0;
  virtual void selectPicture(int index) = 0;

  // The browser: File1's selected name without folder (empty when none), Dir1's full folder path and
  // Drive1's current drive as text. Setting the drive or the folder ignores a place that cannot be
  // reached: the browser stays where it was.
  virtual std::wstring selectedFile() const = 0;
  virtual std::wstring folderPath() const = 0;
  virtual void setFolderPath(std::wstring_view path) = 0;
  virtual std::wstring driveText() const = 0;
  virtual void setDriveText(std::wstring_view text) = 0;

  // temps, the interval box, exactly as typed.
  virtual std::wstring intervalText() const = 0;
  virtual void setIntervalText(std::wstring_view text) = 0;

  virtual bool previewChecked() const = 0;
  virtual void setPreviewChecked(bool checked) = 0;

  virtual void showProgress(bool shown) = 0;
  virtual void setProgressMaximum(int maximum) = 0;
  virtual void setProgressValue(int value) = 0;

  // A message box with the information icon and one OK button.
  virtual void showInformation(std::wstring_view text, std::wstring_view title) = 0;
};

}  // namespace slidewell::setup

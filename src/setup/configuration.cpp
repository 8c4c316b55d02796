#include "setup/configuration.h"

#include <string>

#include "settings/settings_store.h"

namespace slidewell::setup {

void xload(SetupControls& controls, const settings::SettingsStore& store) {
  for (int i = 0; i < settings::kPictureKeyCount; ++i) {
    const std::wstring path = store.get(settings::pictureKey(i), L"");
    if (!path.empty()) controls.appendPicture(path);
  }
  controls.setIntervalText(store.get(settings::kIntervalKey, settings::kIntervalDefault));
  if (const std::wstring drive = store.get(settings::kDriveKey, L""); !drive.empty()) {
    controls.setDriveText(drive);
  }
  if (const std::wstring folder = store.get(settings::kFolderKey, L""); !folder.empty()) {
    controls.setFolderPath(folder);
  }
}

bool xsave(SetupControls& controls, settings::SettingsStore& store) {
  const bool previewWasChecked = controls.previewChecked();
  const int selectionBefore = controls.selectedPicture();
  bool allSaved = true;
  const auto save = [&](std::wstring_view key, std::wstring_view value) {
    allSaved = store.save(key, value) && allSaved;
  };

  controls.showProgress(true);
  controls.setPreviewChecked(false);
  controls.setProgressMaximum(100);
  const int count = controls.pictureCount();
  for (int i = 0; i < count; ++i) {
    controls.selectPicture(i);
    save(settings::pictureKey(i), controls.picture(i));
    controls.setProgressValue(i + 1);
  }
  for (int i = count; i < settings::kPictureKeyCount; ++i) {
    save(settings::pictureKey(i), L"");
    controls.setProgressValue(i);
  }
  save(settings::kIntervalKey, controls.intervalText());
  save(settings::kFolderKey, controls.folderPath());
  save(settings::kDriveKey, controls.driveText());

  if (!allSaved) {
    controls.selectPicture(selectionBefore);
    controls.setPreviewChecked(previewWasChecked);
    controls.setProgressValue(0);
    controls.showProgress(false);
  }
  return allSaved;
}

AddResult addp(SetupControls& controls) {
  const std::wstring file = controls.selectedFile();
  if (file.empty()) return AddResult::NothingSelected;
  if (controls.pictureCount() >= settings::kMaxPictures) {
    controls.showInformation(kFullListText, kFullListTitle);
    return AddResult::ListFull;
  }
  controls.appendPicture(joinpath(controls.folderPath(), file));
  return AddResult::Added;
}

std::wstring joinpath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
  path.append(name);
  return path;
}

}  // namespace slidewell::setup

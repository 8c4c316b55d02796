#include "setup/picture_list_rules.h"

#include "settings/settings_store.h"
#include "setup/join_path.h"

namespace slidewell::setup {

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

}  // namespace slidewell::setup

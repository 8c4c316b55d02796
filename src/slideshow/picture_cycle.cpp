#include "slideshow/picture_cycle.h"

#include "settings/settings_store.h"

namespace slidewell::slideshow {

std::wstring PictureCycle::nextimg(const settings::SettingsStore& store) {
  ++picindex_;
  // Keys beyond the last picture key are never read, even if something else stored them.
  std::wstring path = picindex_ < settings::kPictureKeyCount
                          ? store.get(settings::pictureKey(picindex_), L"")
                          : std::wstring();
  if (path.empty()) {
    picindex_ = 0;
    path = store.get(settings::pictureKey(0), L"");
  }
  return path;
}

}  // namespace slidewell::slideshow

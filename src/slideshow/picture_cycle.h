#pragma once

#include <string>

#include "settings/settings_store.h"

namespace slidewell::slideshow {

// Which stored picture comes next. The list is never held: each step reads the store afresh, so a
// list saved while the show runs is followed from the next step on.
class PictureCycle {
 public:
  // Steps `picindex` on and returns the path stored for it. At the end of the list (an empty or absent
  // value, or past the last picture key) it starts again at index 0 and returns what is stored there,
  // whatever that is: an empty path when no picture is configured.
  std::wstring nextimg(const settings::SettingsStore& store);

  // The list index of the picture on screen; -1 before the first step.
  int picindex() const { return picindex_; }

 private:
  int picindex_ = -1;
};

}  // namespace slidewell::slideshow

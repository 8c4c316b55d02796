#include "slideshow/move_counter.h"

namespace slidewell::slideshow {

bool MoveCounter::mm() {
  // Past the limit the count stays put: the answer does not change and it never wraps to 0.
  if (movecount_ <= kMovesKept) ++movecount_;
  return movecount_ > kMovesKept;
}

}  // namespace slidewell::slideshow

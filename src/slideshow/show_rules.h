#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

#include "settings/settings_store.h"

namespace slidewell::slideshow {

// The show's rules: which picture comes next, when it changes its picture, and when the mouse ends it.

// Which stored picture comes next. The list is never held: each step reads the store afresh, so a
// list saved while the show runs is followed from the next step on.
class PictureCycle {
 public:
  // Steps `picindex` on and returns the path stored for it. At the end of the list (an empty or absent
  // value, or past the last picture key) it starts again at index 0 and returns what is stored there,
  // whatever that is: an empty path when no picture is configured.
  std::wstring nextimg(const settings::SettingsStore& store) {
    ++picindex_;
    // Keys beyond the last picture key are never read, even if something else stored them.
    std::wstring path =
        picindex_ < settings::kPictureKeyCount ? store.get(settings::pictureKey(picindex_), L"") : std::wstring();
    if (path.empty()) {
      picindex_ = 0;
      path = store.get(settings::pictureKey(0), L"");
    }
    return path;
  }

  // The list index of the picture on screen; -1 before the first step.
  int picindex() const { return picindex_; }

 private:
  int picindex_ = -1;
};

// When the show changes its picture. Each tick of the period starts a change, which waits for its
// picture to be read; changes never overlap, so a tick that comes while one waits starts none. A
// change that ends after such a missed tick starts the period afresh, so that a picture read late is
// still shown for a whole period.
//
// While the display is off no one sees the show, and a tick starts nothing: nothing is read, so that a
// network drive may sleep. A change already reading goes on, and its picture is kept for the display's
// return, since the cycle has already stepped on to it. When the display can be seen again (on, or
// dimmed) the show goes on at once from where it was: with the picture kept, or else with the next
// one, and the period starts afresh from it. So the display's sleep skips no picture and shows none
// twice.
class ChangeRules {
 public:
  // How long one call on the file system may wait before its picture is given up, and how long the
  // window, while it is made, waits for the first picture before it is displayed without it.
  static constexpr std::chrono::milliseconds kStallBound{2000};
  static constexpr std::chrono::milliseconds kFirstPictureWait{300};

  // The timer's period in milliseconds; 0 (as until it is set) for a show that never changes, such as
  // one whose timer could not be armed.
  std::uint32_t period() const { return period_; }
  void setPeriod(std::uint32_t period) { period_ = period; }

  // A tick: whether a change starts now.
  bool tick() {
    if (dark_) return false;
    if (changing_) {
      tickMissed_ = true;
      return false;
    }
    changing_ = true;
    return true;
  }
  // The change's picture was shown or given up: whether the period starts afresh.
  bool changeEnded() {
    changing_ = false;
    if (dark_) endedInDark_ = true;
    const bool missed = tickMissed_;
    tickMissed_ = false;
    return missed && period_ != 0;
  }
  bool changing() const { return changing_; }

  // What the show does when the display's state is told.
  enum class Resume {
    Nothing,       // it goes on as it was
    ChangeNow,     // the next picture starts now, and the period afresh from it
    PeriodAfresh,  // the picture kept while the display was off is seen from now, for a whole period
  };
  // The display can be seen (on, or dimmed) or not (off).
  Resume displayVisible(bool visible) {
    if (!visible || !dark_) {
      dark_ = !visible;
      return Resume::Nothing;
    }
    dark_ = false;
    if (period_ == 0) return Resume::Nothing;
    if (changing_) {
      tickMissed_ = true;  // its end starts the period afresh
      return Resume::Nothing;
    }
    if (std::exchange(endedInDark_, false)) return Resume::PeriodAfresh;
    return Resume::ChangeNow;
  }

 private:
  std::uint32_t period_ = 0;
  bool changing_ = false;
  bool tickMissed_ = false;   // a tick came while the change waited for its picture
  bool dark_ = false;         // the display is off
  bool endedInDark_ = false;  // a change ended while the display was off: its picture is not seen yet
};

// Mouse movement that ends the show: the first 20 moves change nothing, the 21st ends it. Moves over
// the background and over the picture count together, from the window's creation, never going down.
class MoveCounter {
 public:
  static constexpr unsigned kMovesKept = 20;

  // Counts one move; true when the show must end.
  bool mm() {
    // Past the limit the count stays put: the answer does not change and it never wraps to 0.
    if (movecount_ <= kMovesKept) ++movecount_;
    return movecount_ > kMovesKept;
  }

 private:
  unsigned movecount_ = 0;
};

}  // namespace slidewell::slideshow

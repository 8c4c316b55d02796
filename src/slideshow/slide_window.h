#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "settings/settings_store.h"
#include "slideshow/move_counter.h"
#include "slideshow/picture_cycle.h"
#include "slideshow/placement.h"
#include "slideshow/visible_picture.h"
#include "win/picture_file.h"
#include "win/window_object.h"
#include "win/worker.h"

namespace slidewell::slideshow {

// The show's window: borderless, black, topmost, titled "Form1", over the whole virtual screen (every
// monitor). Its creation hides the cursor, puts the first picture in place and arms the timer from the
// stored interval, all before it is first displayed. Each tick shows the next stored picture, 1:1, at a
// random place. A character key or the 21st mouse move shows the cursor again and calls `endShow`,
// which in the program terminates the process at once.
//
// Pictures are read and decoded on a loader thread, so that a file that stalls never keeps the window
// from answering: the end of the show may come while a picture is being read. While a change waits for
// its picture the window is black. A picture not read within kStallBound is given up: the window stays
// black until the next tick, which goes on with the next entry. A change that ends after a tick has
// come starts the period afresh, so that a picture read late is still shown for a whole period. Its
// creation waits at most kFirstPictureWait for the first picture, and is then displayed without it if
// need be.
class SlideWindow final : public win::WindowObject {
 public:
  SlideWindow(HINSTANCE instance, const settings::SettingsStore& store, std::function<void()> endShow);
  ~SlideWindow();

  static constexpr UINT kStallBound = 2000;  // milliseconds
  static constexpr std::chrono::milliseconds kFirstPictureWait{300};

  bool open() const { return hwnd() != nullptr; }
  // Displays the window in front, with its first picture already in place.
  void show();

  // One change of picture, as at each tick: the next stored picture at a new place, once read. A
  // picture that cannot be loaded shows nothing until the next change. Does nothing while a change is
  // still waiting for its picture: changes never overlap.
  void nextimg();
  // Whether a change is still waiting for its picture.
  bool changing() const { return changing_; }

  // Where the picture on screen lies in the window's pixels; empty while none is shown.
  std::optional<RECT> pictureArea() const;
  // The timer's period in milliseconds; 0 when the timer is off.
  std::uint32_t timerPeriod() const { return period_; }

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void onCreate();
  // Reads the next stored picture for a window of that size.
  void startChange(SIZE window);
  void onPictureRead();
  void onStall();
  void endChange(std::optional<VisiblePicture> picture);
  void onMouseMove();
  void onDestroy();
  void paint(HDC dc, const RECT& area) const;
  std::optional<RECT> visiblePart() const;
  void invalidatePicture() const;
  void end();
  void showCursorAgain();

  const settings::SettingsStore& store_;
  std::function<void()> endShow_;
  PictureCycle cycle_;
  PlacementRandom random_;
  MoveCounter moves_;
  // Each loader thread keeps one imaging factory for all the pictures it reads.
  using Loader = win::Worker<win::PictureDecoder, std::optional<VisiblePicture>>;
  Loader loader_;  // reads the first picture while the window is made, then tells it of each one read
  std::optional<VisiblePicture> picture_;  // `Image1`: the picture, its place and whether it is shown
  bool pictureShown_ = false;
  bool changing_ = false;
  bool tickMissed_ = false;  // a tick came while the change waited for its picture
  std::uint32_t period_ = 0;
  bool cursorHidden_ = false;
};

}  // namespace slidewell::slideshow

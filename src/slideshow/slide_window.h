#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "settings/settings_store.h"
#include "slideshow/placement.h"
#include "slideshow/show_rules.h"
#include "slideshow/visible_picture.h"
#include "win/display_power.h"
#include "win/picture_file.h"
#include "win/window_object.h"
#include "win/worker.h"

namespace slidewell::slideshow {

// The show's window: borderless, black, topmost, titled "Form1", over the whole virtual screen (every
// monitor), which it follows when the displays change. Its creation hides the cursor, puts the first
// picture in place and arms the timer from the stored interval, all before it is first displayed. Each
// tick shows the next stored picture, 1:1, at a random place on one monitor (see placeOnMonitors). A
// character key or the 21st mouse move shows the cursor again and calls `endShow`, which in the program
// terminates the process at once.
//
// Pictures are read and decoded on a loader thread, so that a file that stalls never keeps the window
// from answering: the end of the show may come while a picture is being read. While a change waits for
// its picture the picture before it stays on screen, and the new one takes its place in one paint; when
// and how changes follow the ticks is ChangeRules'. A picture that cannot be shown (missing, damaged,
// too large, or given up because a call on the file system was not back within
// ChangeRules::kStallBound) leaves the window black until the next tick, which goes on with the next
// entry; a slow read that keeps moving is waited for. So at most two pictures are held, and two only
// while a change reads. Its creation waits at most ChangeRules::kFirstPictureWait for the first picture,
// and is then displayed without it if need be.
//
// It follows the console display's state, as the system tells it: while the display is off, ticks read
// and change nothing, and when it comes back the show goes on at once (see ChangeRules). It asks
// nothing that keeps the display or the machine awake.
class SlideWindow final : public win::WindowObject {
 public:
  SlideWindow(HINSTANCE instance, const settings::SettingsStore& store, std::function<void()> endShow);
  ~SlideWindow();

  bool open() const { return hwnd() != nullptr; }
  // Displays the window in front, with its first picture already in place.
  void show();

  // One change of picture, as at each tick: the next stored picture at a new place, once read. A
  // picture that cannot be loaded shows nothing until the next change. Does nothing while a change is
  // still waiting for its picture: changes never overlap.
  void nextimg();
  // Whether a change is still waiting for its picture.
  bool changing() const { return rules_.changing(); }

  // Where the picture on screen lies in the window's pixels; empty while none is shown.
  std::optional<RECT> pictureArea() const;
  // The timer's period in milliseconds; 0 when the timer is off.
  std::uint32_t period() const { return rules_.period(); }

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void onCreate();
  // The console display was switched off, or on or dimmed (see ChangeRules).
  void onDisplayVisible(bool visible);
  // Reads the next stored picture for the monitors as they are now, waiting `wait` at most for it.
  void startChange(std::chrono::milliseconds wait);
  void endChange(std::optional<VisiblePicture> picture);
  // Takes the size of the virtual screen and the monitors' places, as they are now.
  void coverScreen();
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
  ChangeRules rules_;
  RECT screen_{};                    // the virtual screen that the window covers
  std::vector<PixelRect> monitors_;  // in the window's pixels
  // Each loader thread keeps one imaging factory for all the pictures it reads.
  using Loader = win::Worker<win::PictureDecoder, VisiblePicture>;
  Loader loader_;
  std::optional<VisiblePicture> picture_;  // `Image1`: the picture on screen and its place
  bool cursorHidden_ = false;
  win::DisplayPowerRegistration displayPower_;
};

}  // namespace slidewell::slideshow

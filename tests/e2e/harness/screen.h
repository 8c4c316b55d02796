#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "bmp_file.h"
#include "pixels.h"
#include "program.h"

namespace slidewell::e2e {

using testing_support::Rgb;

// The show's background, and the colours of the solid test pictures, far from each other and from black.
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{220, 20, 30};
inline constexpr Rgb kGreen{20, 200, 40};
inline constexpr Rgb kBlue{30, 40, 230};

// What the whole virtual screen shows right now, read through the screen's device context.
class Screenshot {
 public:
  static Screenshot capture();
  // Only this part of the screen, in screen coordinates: quicker, for watching something change.
  static Screenshot capture(const RECT& area);

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  // In screen coordinates.
  Rgb at(int x, int y) const;
  // The smallest rectangle, in screen coordinates, holding every pixel of that colour, if any.
  std::optional<RECT> boundsOf(Rgb colour) const;
  // Whether nothing but black is on it.
  bool onlyBlack() const { return pixels_.allOf(kBlack); }

  bool operator==(const Screenshot&) const = default;

 private:
  Screenshot(int left, int top, testing_support::Pixels pixels) : left_(left), top_(top), pixels_(std::move(pixels)) {}

  int left_ = 0, top_ = 0;
  testing_support::Pixels pixels_;
};

// The whole virtual screen (every monitor), in screen coordinates.
RECT virtualScreen();
// Whether the window lies exactly over the whole virtual screen.
bool coversVirtualScreen(HWND window);

// Where the screen shows `colour`, waited for until it does or `timeoutMs` has passed.
std::optional<RECT> waitForColour(Rgb colour, DWORD timeoutMs);

// Which one of `colours` the screen shows now, if exactly one of them.
std::optional<Rgb> theOneColourShown(const std::vector<Rgb>& colours);
// The colours of `colours` shown one after another while `program` runs, until `count` were seen or
// `timeoutMs` has passed.
std::vector<Rgb> coloursInTurn(const RunningProgram& program, const std::vector<Rgb>& colours, std::size_t count,
                               DWORD timeoutMs);
// The same, with black for a screen that shows nothing but black, until `last` is seen.
std::vector<Rgb> sightingsUntil(const RunningProgram& program, const std::vector<Rgb>& colours, Rgb last,
                                DWORD timeoutMs);

}  // namespace slidewell::e2e

#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "bmp_file.h"

namespace slidewell::e2e {

using testing_support::Rgb;

// What the whole virtual screen shows right now, read through the screen's device context.
class Screenshot {
 public:
  static Screenshot capture();
  // Only this part of the screen, in screen coordinates: quicker, for watching something change.
  static Screenshot capture(const RECT& area);

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // In screen coordinates.
  Rgb at(int x, int y) const;
  // The smallest rectangle, in screen coordinates, holding every pixel of that colour, if any.
  std::optional<RECT> boundsOf(Rgb colour) const;

 private:
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

}  // namespace slidewell::e2e

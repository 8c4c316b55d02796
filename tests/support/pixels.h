#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "bmp_file.h"

namespace slidewell::testing_support {

// What something drew into a 32-bit bitmap of `width` x `height`, read back pixel by pixel; `draw`
// paints into a memory DC that has the bitmap selected.
class Pixels {
 public:
  Pixels(int width, int height, const std::function<void(HDC)>& draw);

  // What `window`'s paint routine draws into its client area, through WM_PRINTCLIENT.
  static Pixels printedBy(HWND window);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const;
  // The smallest rectangle holding every pixel for which `wanted` holds, if any.
  std::optional<RECT> boundsWhere(const std::function<bool(Rgb)>& wanted) const;
  // Whether every pixel is of that colour.
  bool allOf(Rgb colour) const;

  bool operator==(const Pixels&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

}  // namespace slidewell::testing_support

#pragma once

namespace slidewell::slideshow {

// Mouse movement that ends the show: the first 20 moves change nothing, the 21st ends it. Moves over
// the background and over the picture count together, from the window's creation, never going down.
class MoveCounter {
 public:
  static constexpr unsigned kMovesKept = 20;

  // Counts one move; true when the show must end.
  bool mm();

 private:
  unsigned movecount_ = 0;
};

}  // namespace slidewell::slideshow

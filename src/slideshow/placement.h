#pragma once

#include <random>

namespace slidewell::slideshow {

// Uniform single-precision numbers in [0, 1). Every run starts from the same fixed state, so the same
// list on the same screen gives the same places.
class PlacementRandom {
 public:
  float next();

 private:
  std::mt19937 engine_;  // default-seeded: the same state on every run and every platform
};

struct Size {
  float width;
  float height;
};

struct Place {
  float left;
  float top;
};

// Where a picture goes: left = r1 x (window width - picture width), then top = r2 x (window height -
// picture height), each product a single-precision value, nothing rounded or clamped. A picture larger
// than the window gets a negative offset and is cut at one or both sides.
// Sizes and places share one unit. At one picture pixel to one screen pixel a size in twips is the size
// in pixels times one factor, so the place in pixels is the same arithmetic in pixels.
Place changeplace(PlacementRandom& random, Size window, Size picture);

}  // namespace slidewell::slideshow

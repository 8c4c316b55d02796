#include "slideshow/placement.h"

namespace slidewell::slideshow {

float PlacementRandom::next() {
  // The top 24 bits fill a float's significand exactly, so the value is uniform and below 1.
  constexpr float kScale = 1.0f / 16777216.0f;
  return static_cast<float>(engine_() >> 8) * kScale;
}

Place changeplace(PlacementRandom& random, Size window, Size picture) {
  Place place{};
  const float r1 = random.next();
  place.left = r1 * (window.width - picture.width);
  const float r2 = random.next();
  place.top = r2 * (window.height - picture.height);
  return place;
}

}  // namespace slidewell::slideshow

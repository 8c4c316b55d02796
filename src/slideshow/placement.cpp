#include "slideshow/placement.h"

#include <algorithm>
#include <cmath>

namespace slidewell::slideshow {

float PlacementRandom::next() {
  // The top 24 bits fill a float's significand exactly, so the value is uniform and below 1.
  constexpr float kScale = 1.0f / 16777216.0f;
  return static_cast<float>(engine_() >> 8) * kScale;
}

PlaceChance changeplace(PlacementRandom& random) {
  const float across = random.next();
  const float down = random.next();
  return PlaceChance{across, down};
}

Place placeOf(PlaceChance chance, Size window, Size picture) {
  return Place{chance.across * (window.width - picture.width), chance.down * (window.height - picture.height)};
}

namespace {

struct Span {
  std::int64_t from;
  std::int64_t count;
};

// The part of [start, start + length) that lies on [0, window), counted from the picture's own edge.
Span cut(std::int64_t start, std::int64_t length, std::int64_t window) {
  const std::int64_t from = std::clamp<std::int64_t>(-start, 0, length);
  const std::int64_t to = std::clamp<std::int64_t>(window - start, from, length);
  return Span{from, to - from};
}

}  // namespace

PixelPlacement inPixels(Place place, std::int64_t pictureWidth, std::int64_t pictureHeight, std::int64_t windowWidth,
                        std::int64_t windowHeight) {
  const std::int64_t left = std::llround(place.left);
  const std::int64_t top = std::llround(place.top);
  const Span across = cut(left, pictureWidth, windowWidth);
  const Span down = cut(top, pictureHeight, windowHeight);
  return PixelPlacement{PixelRect{left, top, pictureWidth, pictureHeight},
                        PixelRect{across.from, down.from, across.count, down.count}};
}

}  // namespace slidewell::slideshow

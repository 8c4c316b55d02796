#pragma once

#include <cstdint>
#include <random>
#include <vector>

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

// The two random numbers of one place: the first for across, the second for down. They are drawn
// for every change, before the picture's size is known and whether or not it can be loaded, so that
// the places of later pictures do not depend on which files could be read.
struct PlaceChance {
  float across;
  float down;
};

// Draws the numbers of the next place.
PlaceChance changeplace(PlacementRandom& random);

// Where a picture goes: left = across x (window width - picture width), top = down x (window height -
// picture height), each product a single-precision value, nothing rounded or clamped. A picture larger
// than the window gets a negative offset and is cut at one or both sides.
// Sizes and places share one unit. At one picture pixel to one screen pixel a size in twips is the size
// in pixels times one factor, so the place in pixels is the same arithmetic in pixels.
Place placeOf(PlaceChance chance, Size window, Size picture);

struct PixelRect {
  std::int64_t left;
  std::int64_t top;
  std::int64_t width;
  std::int64_t height;
};

// Where a picture goes on a desk of several monitors (their rectangles in the window's pixels), so that
// a picture that fits a monitor lies wholly on one. The monitors' free widths (monitor width - picture
// width, for the monitors the picture fits) are laid end to end, left to right, and `across` picks a
// point on that line: the monitor it falls on gets the picture, and the point's distance into that
// monitor's stretch is the picture's left offset on it; `down` gives the top offset on it as placeOf
// does. So each monitor gets pictures in proportion to its free room. When the picture fits no monitor,
// whole widths are laid instead, and the picture goes on the chosen monitor by placeOf, cut as a
// picture larger than the window is; when every free width is 0, the monitors take equal stretches. On
// one monitor this is placeOf on that monitor exactly.
struct MonitorPlace {
  std::size_t monitor;  // the index into the monitors given
  Place place;          // in the window's pixels
};
MonitorPlace placeOnMonitors(PlaceChance chance, const std::vector<PixelRect>& monitors, Size picture);

// A placed picture in whole pixels.
struct PixelPlacement {
  PixelRect picture;  // the whole picture, in the window's pixels
  PixelRect visible;  // the part of it inside `area`, in the picture's own pixels
};

// Rounds the place to the nearest pixel (a half away from 0), as a picture shown 1:1 lands, and cuts
// the picture to `area` (its monitor, in the window's pixels), so that only the part that can be seen
// need be decoded.
PixelPlacement inPixels(Place place, std::int64_t pictureWidth, std::int64_t pictureHeight, const PixelRect& area);

}  // namespace slidewell::slideshow

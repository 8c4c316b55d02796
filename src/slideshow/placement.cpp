#include "slideshow/placement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

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

PixelPlacement inPixels(Place place, std::int64_t pictureWidth, std::int64_t pictureHeight, const PixelRect& area) {
  const std::int64_t left = std::llround(place.left);
  const std::int64_t top = std::llround(place.top);
  const Span across = cut(left - area.left, pictureWidth, area.width);
  const Span down = cut(top - area.top, pictureHeight, area.height);
  return PixelPlacement{PixelRect{left, top, pictureWidth, pictureHeight},
                        PixelRect{across.from, down.from, across.count, down.count}};
}

namespace {

Size sizeOf(const PixelRect& monitor) {
  return Size{static_cast<float>(monitor.width), static_cast<float>(monitor.height)};
}

// The monitors' stretches laid end to end, left to right: their free widths for a picture that fits
// one, else their whole widths. Whole pixels: every sum is exact in a float.
struct Line {
  std::vector<std::size_t> order;
  std::vector<float> stretches;
  bool fits = false;
  float length = 0.0f;
};

Line lineOf(const std::vector<PixelRect>& monitors, Size picture) {
  Line line;
  line.order = std::vector<std::size_t>(monitors.size(), 0);
  std::iota(line.order.begin(), line.order.end(), std::size_t{0});
  std::stable_sort(line.order.begin(), line.order.end(), [&](std::size_t a, std::size_t b) {
    return monitors[a].left != monitors[b].left ? monitors[a].left < monitors[b].left
                                                : monitors[a].top < monitors[b].top;
  });
  const auto fits = [&](std::size_t i) {
    const Size room = sizeOf(monitors[i]);
    return picture.width <= room.width && picture.height <= room.height;
  };
  line.fits = std::any_of(line.order.begin(), line.order.end(), fits);
  line.stretches = std::vector<float>(line.order.size(), 0.0f);
  for (std::size_t k = 0; k < line.order.size(); ++k) {
    const float room = sizeOf(monitors[line.order[k]]).width;
    if (!line.fits)
      line.stretches[k] = room;
    else if (fits(line.order[k]))
      line.stretches[k] = room - picture.width;
  }
  line.length = std::accumulate(line.stretches.begin(), line.stretches.end(), 0.0f);
  return line;
}

struct PointOnLine {
  std::size_t stretch;
  float into;  // the distance into that stretch
};

PointOnLine pointOn(const Line& line, float across) {
  const std::size_t count = line.stretches.size();
  if (line.length == 0.0f) {
    // No free room anywhere: equal stretches.
    return PointOnLine{std::min(static_cast<std::size_t>(across * static_cast<float>(count)), count - 1), 0.0f};
  }
  const float point = across * line.length;
  float start = 0.0f;
  std::size_t last = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (line.stretches[k] == 0.0f) continue;
    if (point < start + line.stretches[k]) return PointOnLine{k, point - start};
    start += line.stretches[k];
    last = k;
  }
  return PointOnLine{last, line.stretches[last]};  // what rounding leaves past the end
}

}  // namespace

MonitorPlace placeOnMonitors(PlaceChance chance, const std::vector<PixelRect>& monitors, Size picture) {
  if (monitors.empty()) return MonitorPlace{0, Place{0.0f, 0.0f}};
  std::size_t monitor = 0;
  Place local{};
  if (monitors.size() == 1) {
    local = placeOf(chance, sizeOf(monitors[0]), picture);
  } else {
    const Line line = lineOf(monitors, picture);
    const PointOnLine at = pointOn(line, chance.across);
    monitor = line.order[at.stretch];
    const Size room = sizeOf(monitors[monitor]);
    // A picture larger than every monitor is placed on its monitor as on one: by the point's share of it.
    local = line.fits ? Place{at.into, placeOf(chance, room, picture).top}
                      : placeOf(PlaceChance{at.into / room.width, chance.down}, room, picture);
  }
  const PixelRect& on = monitors[monitor];
  return MonitorPlace{monitor, Place{local.left + static_cast<float>(on.left), local.top + static_cast<float>(on.top)}};
}

}  // namespace slidewell::slideshow

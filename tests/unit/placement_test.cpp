#include "slideshow/placement.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace slidewell::slideshow {
namespace {

TEST(PlacementRandom, IsInTheHalfOpenUnitRangeAndSpreadOverIt) {
  PlacementRandom random;
  int low = 0;
  std::set<float> seen;
  for (int i = 0; i < 10000; ++i) {
    const float r = random.next();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    low += r < 0.5f ? 1 : 0;
    seen.insert(r);
  }
  EXPECT_NEAR(low, 5000, 300);
  EXPECT_GT(seen.size(), 9900u);
}

TEST(PlacementRandom, StartsFromTheSameStateEveryTime) {
  PlacementRandom first;
  PlacementRandom second;
  for (int i = 0; i < 100; ++i) EXPECT_EQ(first.next(), second.next());
  // The sequence itself is fixed across builds and platforms, not only within one process.
  PlacementRandom fixed;
  EXPECT_EQ(fixed.next(), static_cast<float>(3499211612u >> 8) / 16777216.0f);
}

TEST(Placement, UsesTheFirstNumberAcrossAndTheSecondDown) {
  // A quarter across and three quarters down: 0.25 x (1280 - 200) and 0.75 x (1024 - 100).
  const Place given = placeOf(PlaceChance{0.25f, 0.75f}, Size{1280, 1024}, Size{200, 100});
  EXPECT_EQ(given.left, 270.0f);
  EXPECT_EQ(given.top, 693.0f);
  // The first place of every run: 13668795 / 2^24 of 1080 across, 2272926 / 2^24 of 924 down, each
  // product in single precision.
  PlacementRandom random;
  const Place first = placeOf(changeplace(random), Size{1280, 1024}, Size{200, 100});
  EXPECT_EQ(first.left, 879.90155f);
  EXPECT_EQ(first.top, 125.180702f);
  // The second: 15196666 / 2^24 and 14009119 / 2^24 of a 4000 x 3000 picture's excess, -2720 x -1976.
  const Place second = placeOf(changeplace(random), Size{1280, 1024}, Size{4000, 3000});
  EXPECT_EQ(second.left, -2463.75391f);
  EXPECT_EQ(second.top, -1649.97693f);
}

TEST(Placement, KeepsASmallerPictureInsideAndCutsALargerOne) {
  PlacementRandom random;
  for (int i = 0; i < 1000; ++i) {
    const Place inside = placeOf(changeplace(random), Size{1280, 1024}, Size{300, 1024});
    EXPECT_GE(inside.left, 0.0f);
    EXPECT_LE(inside.left + 300.0f, 1280.0f);
    EXPECT_EQ(inside.top, 0.0f);  // exactly as high as the window

    // 4000 x 3000 on 1280 x 1024: a negative place, never clamped, so the picture covers the window.
    const Place larger = placeOf(changeplace(random), Size{1280, 1024}, Size{4000, 3000});
    EXPECT_LE(larger.left, 0.0f);
    EXPECT_GT(larger.left, -2720.0f);
    EXPECT_LE(larger.top, 0.0f);
    EXPECT_GT(larger.top, -1976.0f);
  }
  const Place same = placeOf(changeplace(random), Size{1280, 1024}, Size{1280, 1024});
  EXPECT_EQ(same.left, 0.0f);
  EXPECT_EQ(same.top, 0.0f);
}

// left, top, width, height
using Fields = std::array<std::int64_t, 4>;
Fields fields(const PixelRect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

TEST(Placement, RoundsToWholePixelsAndCutsThePictureToTheWindow) {
  // 4000 x 3000 on 1280 x 1024: the part inside is the window's size, from the picture's own pixel
  // under the window's corner; a half pixel rounds away from 0, as lround does.
  const PixelPlacement larger = inPixels(Place{-100.5f, -7.49f}, 4000, 3000, PixelRect{0, 0, 1280, 1024});
  EXPECT_EQ(fields(larger.picture), (Fields{-101, -7, 4000, 3000}));
  EXPECT_EQ(fields(larger.visible), (Fields{101, 7, 1280, 1024}));
  // At the far end the picture's last pixels meet the window's edge.
  const PixelPlacement end = inPixels(Place{-2720.0f, -1976.0f}, 4000, 3000, PixelRect{0, 0, 1280, 1024});
  EXPECT_EQ(end.visible.left + end.visible.width, 4000);
  EXPECT_EQ(end.visible.top + end.visible.height, 3000);
  // A picture inside the window is kept whole.
  const PixelPlacement inside = inPixels(Place{10.5f, 0.4f}, 300, 200, PixelRect{0, 0, 1280, 1024});
  EXPECT_EQ(fields(inside.picture), (Fields{11, 0, 300, 200}));
  EXPECT_EQ(fields(inside.visible), (Fields{0, 0, 300, 200}));
}

// The test display: 1280 x 1024 on the left, 1024 x 768 beside it, tops level; listed right first.
const std::vector<PixelRect> kDesk{{1280, 0, 1024, 768}, {0, 0, 1280, 1024}};

TEST(PlacementOnMonitors, OneMonitorPlacesExactlyAsTheWindowDoes) {
  PlacementRandom random;
  for (int i = 0; i < 200; ++i) {
    const PlaceChance chance = changeplace(random);
    for (const Size picture : {Size{800, 600}, Size{4000, 3000}}) {
      const MonitorPlace placed = placeOnMonitors(chance, {PixelRect{0, 0, 1280, 1024}}, picture);
      const Place today = placeOf(chance, Size{1280, 1024}, picture);
      EXPECT_EQ(placed.monitor, 0u);
      EXPECT_EQ(placed.place.left, today.left);
      EXPECT_EQ(placed.place.top, today.top);
    }
  }
}

TEST(PlacementOnMonitors, APictureThatFitsLiesWhollyOnOneMonitorEachByItsFreeRoom) {
  // 800 wide: free widths 480 (left) and 224 (right) laid end to end, 704 in all.
  const MonitorPlace left = placeOnMonitors(PlaceChance{0.5f, 0.5f}, kDesk, Size{800, 600});
  EXPECT_EQ(left.monitor, 1u);
  EXPECT_EQ(left.place.left, 352.0f);
  EXPECT_EQ(left.place.top, 212.0f);
  const MonitorPlace right = placeOnMonitors(PlaceChance{0.75f, 0.0f}, kDesk, Size{800, 600});
  EXPECT_EQ(right.monitor, 0u);
  EXPECT_EQ(right.place.left, 1280.0f + 48.0f);
  EXPECT_EQ(right.place.top, 0.0f);

  PlacementRandom random;
  std::array<int, 2> counts{};
  for (int i = 0; i < 1000; ++i) {
    const MonitorPlace placed = placeOnMonitors(changeplace(random), kDesk, Size{800, 600});
    const PixelRect& on = kDesk[placed.monitor];
    ++counts[placed.monitor];
    EXPECT_GE(placed.place.left, static_cast<float>(on.left));
    EXPECT_LE(placed.place.left + 800.0f, static_cast<float>(on.left + on.width));
    EXPECT_GE(placed.place.top, static_cast<float>(on.top));
    EXPECT_LE(placed.place.top + 600.0f, static_cast<float>(on.top + on.height));
  }
  EXPECT_NEAR(counts[1], 682, 60);  // 480 of 704
  EXPECT_NEAR(counts[0], 318, 60);

  // 1200 x 900 fits the left monitor only.
  EXPECT_EQ(placeOnMonitors(PlaceChance{0.99f, 0.5f}, kDesk, Size{1200, 900}).monitor, 1u);
}

TEST(PlacementOnMonitors, APictureLargerThanEveryMonitorCoversOneAndIsCutToIt) {
  // Whole widths laid end to end: 1280 + 1024; 0.8 of 2304 falls on the right monitor.
  // 1843.2 is 563.2 into its stretch: 0.55 of the monitor, so 1280 + 0.55 x (1024 - 4000) across and
  // 0.5 x (768 - 3000) down, in single precision.
  const MonitorPlace placed = placeOnMonitors(PlaceChance{0.8f, 0.5f}, kDesk, Size{4000, 3000});
  EXPECT_EQ(placed.monitor, 0u);
  EXPECT_EQ(placed.place.left, -356.800171f);
  EXPECT_EQ(placed.place.top, -1116.0f);
  const PixelPlacement pixels = inPixels(placed.place, 4000, 3000, kDesk[0]);
  EXPECT_EQ(fields(pixels.picture), (Fields{-357, -1116, 4000, 3000}));
  EXPECT_EQ(fields(pixels.visible), (Fields{1637, 1116, 1024, 768}));

  // As wide as both: no free width anywhere, so equal stretches.
  const std::vector<PixelRect> twins{{0, 0, 1024, 768}, {1024, 0, 1024, 768}};
  EXPECT_EQ(placeOnMonitors(PlaceChance{0.25f, 0.0f}, twins, Size{1024, 768}).monitor, 0u);
  const MonitorPlace second = placeOnMonitors(PlaceChance{0.75f, 0.0f}, twins, Size{1024, 768});
  EXPECT_EQ(second.monitor, 1u);
  EXPECT_EQ(second.place.left, 1024.0f);
}

}  // namespace
}  // namespace slidewell::slideshow

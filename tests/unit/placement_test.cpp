#include "slideshow/placement.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>

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
  PlacementRandom numbers;
  const float r1 = numbers.next();
  const float r2 = numbers.next();
  PlacementRandom random;
  const Place place = placeOf(changeplace(random), Size{1280, 1024}, Size{200, 100});
  EXPECT_EQ(place.left, r1 * 1080.0f);
  EXPECT_EQ(place.top, r2 * 924.0f);
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
  const PixelPlacement larger = inPixels(Place{-100.5f, -7.49f}, 4000, 3000, 1280, 1024);
  EXPECT_EQ(fields(larger.picture), (Fields{-101, -7, 4000, 3000}));
  EXPECT_EQ(fields(larger.visible), (Fields{101, 7, 1280, 1024}));
  // At the far end the picture's last pixels meet the window's edge.
  const PixelPlacement end = inPixels(Place{-2720.0f, -1976.0f}, 4000, 3000, 1280, 1024);
  EXPECT_EQ(end.visible.left + end.visible.width, 4000);
  EXPECT_EQ(end.visible.top + end.visible.height, 3000);
  // A picture inside the window is kept whole.
  const PixelPlacement inside = inPixels(Place{10.5f, 0.4f}, 300, 200, 1280, 1024);
  EXPECT_EQ(fields(inside.picture), (Fields{11, 0, 300, 200}));
  EXPECT_EQ(fields(inside.visible), (Fields{0, 0, 300, 200}));
}

}  // namespace
}  // namespace slidewell::slideshow

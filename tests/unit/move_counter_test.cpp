#include "slideshow/show_rules.h"

#include <gtest/gtest.h>

namespace slidewell::slideshow {
namespace {

TEST(MoveCounter, TheTwentyFirstMoveEndsTheShowAndEveryLaterOneToo) {
  MoveCounter counter;
  for (int i = 1; i <= 20; ++i) EXPECT_FALSE(counter.mm()) << "move " << i;
  EXPECT_TRUE(counter.mm());
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(counter.mm());
}

}  // namespace
}  // namespace slidewell::slideshow

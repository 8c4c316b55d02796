#include "slideshow/show_rules.h"

#include <gtest/gtest.h>

#include "picture/read_progress.h"

namespace slidewell {
namespace {

using namespace std::chrono_literals;

TEST(ChangeRules, ChangesNeverOverlapAndALatePictureGetsAWholePeriod) {
  slideshow::ChangeRules rules;
  rules.setPeriod(3000);
  EXPECT_TRUE(rules.tick());
  EXPECT_TRUE(rules.changing());
  EXPECT_FALSE(rules.changeEnded());  // in time: the period runs on

  EXPECT_TRUE(rules.tick());
  EXPECT_FALSE(rules.tick());  // the picture is still being read: no second change
  EXPECT_FALSE(rules.tick());
  EXPECT_TRUE(rules.changeEnded());  // late: the period starts afresh
  EXPECT_FALSE(rules.changing());
  EXPECT_TRUE(rules.tick());
  EXPECT_FALSE(rules.changeEnded());

  // Without a timer nothing is armed again.
  rules.setPeriod(0);
  EXPECT_EQ(rules.period(), 0u);
  EXPECT_TRUE(rules.tick());
  EXPECT_FALSE(rules.tick());
  EXPECT_FALSE(rules.changeEnded());
}

TEST(ReadProgress, OnlyACallThatHasNotReturnedWithinTheBoundIsAStall) {
  using Clock = picture::ReadProgress::Clock;
  picture::ReadProgress progress;
  const Clock::time_point start = Clock::now();
  EXPECT_FALSE(progress.stalled(start + 1h, 2s));  // working between calls, however long

  progress.callStarted(start);
  EXPECT_FALSE(progress.stalled(start + 1999ms, 2s));
  EXPECT_TRUE(progress.stalled(start + 2s, 2s));
  progress.callReturned();
  EXPECT_FALSE(progress.stalled(start + 1h, 2s));

  {
    const picture::ReadProgress::Call call(&progress);
    EXPECT_TRUE(progress.stalled(Clock::now() + 2s, 2s));
  }
  EXPECT_FALSE(progress.stalled(Clock::now() + 2s, 2s));
}

}  // namespace
}  // namespace slidewell

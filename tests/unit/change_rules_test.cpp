#include "slideshow/show_rules.h"

#include <gtest/gtest.h>

#include "picture/read_progress.h"

namespace slidewell {
namespace {

using namespace std::chrono_literals;

TEST(ChangeRules, APictureIsGivenUpWhenOneCallOnTheFileSystemHasNotReturnedForTwoSeconds) {
  EXPECT_EQ(slideshow::ChangeRules::kStallBound, 2000ms);
}

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

TEST(ChangeRules, WhileTheDisplayIsOffNothingStartsAndItsReturnGoesOnWhereTheShowWas) {
  using Resume = slideshow::ChangeRules::Resume;
  slideshow::ChangeRules rules;
  rules.setPeriod(3000);
  EXPECT_EQ(rules.displayVisible(true), Resume::Nothing);  // told at the start: nothing changes

  // Off between changes: no tick starts one; back, the next picture starts at once.
  EXPECT_EQ(rules.displayVisible(false), Resume::Nothing);
  EXPECT_FALSE(rules.tick());
  EXPECT_FALSE(rules.tick());
  EXPECT_EQ(rules.displayVisible(true), Resume::ChangeNow);
  EXPECT_TRUE(rules.tick());

  // Off while a change reads: it ends in the dark, and its picture is the one seen on the return.
  EXPECT_EQ(rules.displayVisible(false), Resume::Nothing);
  EXPECT_FALSE(rules.changeEnded());
  EXPECT_EQ(rules.displayVisible(true), Resume::PeriodAfresh);
  EXPECT_TRUE(rules.tick());

  // Back while the change still reads: its end starts the period afresh. Dimmed counts as seen.
  EXPECT_EQ(rules.displayVisible(false), Resume::Nothing);
  EXPECT_EQ(rules.displayVisible(true), Resume::Nothing);
  EXPECT_TRUE(rules.changeEnded());

  // A show that never changes stays as it is.
  rules.setPeriod(0);
  EXPECT_EQ(rules.displayVisible(false), Resume::Nothing);
  EXPECT_EQ(rules.displayVisible(true), Resume::Nothing);
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

#include "slideshow/interval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace slidewell::slideshow {
namespace {

TEST(TextToNumber, ReadsDecimalNumbers) {
  EXPECT_EQ(textToNumber(L"3"), 3.0);
  EXPECT_EQ(textToNumber(L"2.5"), 2.5);
  EXPECT_EQ(textToNumber(L".5"), 0.5);
  EXPECT_EQ(textToNumber(L"5."), 5.0);
  EXPECT_EQ(textToNumber(L"-5"), -5.0);
  EXPECT_EQ(textToNumber(L"+7"), 7.0);
  EXPECT_EQ(textToNumber(L"007"), 7.0);
  EXPECT_EQ(textToNumber(L"-.25"), -0.25);
}

TEST(TextToNumber, ReadsExponentsWithEOrD) {
  EXPECT_EQ(textToNumber(L"1e3"), 1000.0);
  EXPECT_EQ(textToNumber(L"1E+3"), 1000.0);
  EXPECT_EQ(textToNumber(L"25e-1"), 2.5);
  EXPECT_EQ(textToNumber(L"1d2"), 100.0);
  EXPECT_EQ(textToNumber(L"1D-1"), 0.1);
  // An exponent without digits is not part of the number.
  EXPECT_EQ(textToNumber(L"4e"), 4.0);
  EXPECT_EQ(textToNumber(L"4e+"), 4.0);
  EXPECT_EQ(textToNumber(L"4ex"), 4.0);
}

TEST(TextToNumber, SkipsBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(textToNumber(L"1 5"), 15.0);
  EXPECT_EQ(textToNumber(L"  2\t.\n5  "), 2.5);
  EXPECT_EQ(textToNumber(L"- 5"), -5.0);
  EXPECT_EQ(textToNumber(L"1 e 2"), 100.0);
  EXPECT_EQ(textToNumber(L"& H 1 0"), 16.0);
  // Other white space is not skipped: it ends the number.
  EXPECT_EQ(textToNumber(L"1\r5"), 1.0);
  EXPECT_EQ(textToNumber(L"1\u00A05"), 1.0);
}

TEST(TextToNumber, TakesTheLongestLeadingNumber) {
  EXPECT_EQ(textToNumber(L"10s"), 10.0);
  EXPECT_EQ(textToNumber(L"1.2.3"), 1.2);
  EXPECT_EQ(textToNumber(L"1,5"), 1.0);
  EXPECT_EQ(textToNumber(L"3 seconds"), 3.0);
  EXPECT_EQ(textToNumber(L"2--"), 2.0);
}

TEST(TextToNumber, GivesZeroWithoutALeadingNumber) {
  EXPECT_EQ(textToNumber(L""), 0.0);
  EXPECT_EQ(textToNumber(L"abc"), 0.0);
  EXPECT_EQ(textToNumber(L"."), 0.0);
  EXPECT_EQ(textToNumber(L"-"), 0.0);
  EXPECT_EQ(textToNumber(L"--5"), 0.0);
  EXPECT_EQ(textToNumber(L"e5"), 0.0);
  EXPECT_EQ(textToNumber(L"$5"), 0.0);
  EXPECT_EQ(textToNumber(L"&"), 0.0);
  EXPECT_EQ(textToNumber(L"&X10"), 0.0);
  EXPECT_EQ(textToNumber(L"&H"), 0.0);
  EXPECT_EQ(textToNumber(L"&O9"), 0.0);
  // Digits of other scripts are not digits here.
  EXPECT_EQ(textToNumber(L"\uFF13"), 0.0);
  EXPECT_EQ(textToNumber(L"\u0663"), 0.0);
}

TEST(TextToNumber, ReadsHexadecimalAndOctalAs32BitTwosComplement) {
  EXPECT_EQ(textToNumber(L"&H10"), 16.0);
  EXPECT_EQ(textToNumber(L"&hff"), 255.0);
  EXPECT_EQ(textToNumber(L"&HFFFF"), 65535.0);
  EXPECT_EQ(textToNumber(L"&H7FFFFFFF"), 2147483647.0);
  EXPECT_EQ(textToNumber(L"&H80000000"), -2147483648.0);
  EXPECT_EQ(textToNumber(L"&HFFFFFFFF"), -1.0);
  EXPECT_EQ(textToNumber(L"&O17"), 15.0);
  EXPECT_EQ(textToNumber(L"&o37777777777"), -1.0);
  // Reading stops at a character that is no digit of the radix...
  EXPECT_EQ(textToNumber(L"&H1G"), 1.0);
  EXPECT_EQ(textToNumber(L"&O78"), 7.0);
  EXPECT_EQ(textToNumber(L"&H1.5"), 1.0);
  // ...and before a digit that would need a 33rd bit; leading zeros need none.
  EXPECT_EQ(textToNumber(L"&H123456789"), static_cast<double>(0x12345678));
  EXPECT_EQ(textToNumber(L"&H0000000010"), 16.0);
  EXPECT_EQ(textToNumber(L"&O40000000000"), static_cast<double>(0x20000000));
  // The prefix counts only at the start; a sign before it ends the number.
  EXPECT_EQ(textToNumber(L"-&H10"), 0.0);
  EXPECT_EQ(textToNumber(L"1&H10"), 1.0);
}

TEST(TextToNumber, NumbersBeyondADoubleBecomeInfinityOrZero) {
  EXPECT_EQ(textToNumber(L"1e300"), 1e300);
  EXPECT_EQ(textToNumber(L"1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(textToNumber(L"-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(textToNumber(L"0.0001e-400"), 0.0);
  EXPECT_EQ(textToNumber(L"1e-400"), 0.0);
  EXPECT_EQ(textToNumber(L"1e99999999999999999999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(textToNumber(L"0.001e-99999999999999999999"), 0.0);
  // The exponent decides, together with where the first non-zero digit stands.
  EXPECT_EQ(textToNumber(L"0.00000000001e310"), 1e299);
  EXPECT_EQ(textToNumber(L"100000000000e-320"), 1e-309);
}

TEST(TimerPeriod, IsSecondsTimesAThousandRoundedHalfToEven) {
  EXPECT_EQ(timerPeriod(3.0), 3000u);
  EXPECT_EQ(timerPeriod(2.5), 2500u);
  EXPECT_EQ(timerPeriod(0.3), 300u);
  EXPECT_EQ(timerPeriod(0.0014), 1u);
  EXPECT_EQ(timerPeriod(0.0015), 2u);  // 1.5 ms
  EXPECT_EQ(timerPeriod(0.0025), 2u);  // 2.5 ms
  EXPECT_EQ(timerPeriod(0.0035), 4u);     // 3.5 ms
  EXPECT_EQ(timerPeriod(0.0105), 10u);    // 10.5 ms: to the even 10
  EXPECT_EQ(timerPeriod(0.0115), 12u);    // 11.5 ms: to the even 12
  // The product is a double: 2.0005 x 1000 lies just above 2000.5, 1.0005 x 1000 is 1000.5 exactly.
  EXPECT_EQ(timerPeriod(2.0005), 2001u);
  EXPECT_EQ(timerPeriod(1.0005), 1000u);
}

TEST(TimerPeriod, ZeroMeansNoTimer) {
  EXPECT_EQ(timerPeriod(0.0), 0u);
  EXPECT_EQ(timerPeriod(0.0004), 0u);
  EXPECT_EQ(timerPeriod(0.0005), 0u);  // 0.5 ms: half to the even 0
  EXPECT_EQ(timerPeriod(0.00051), 1u);
}

TEST(TimerPeriod, PeriodsTheTimerCannotTakeAreMadeSound) {
  // Negative periods leave the timer off, as 0 does.
  EXPECT_EQ(timerPeriod(-5.0), 0u);
  EXPECT_EQ(timerPeriod(-0.0), 0u);
  EXPECT_EQ(timerPeriod(-std::numeric_limits<double>::infinity()), 0u);
  EXPECT_EQ(timerPeriod(std::numeric_limits<double>::quiet_NaN()), 0u);
  // Longer than the timer takes: its longest period.
  EXPECT_EQ(timerPeriod(1e300), kLongestTimerPeriod);
  EXPECT_EQ(timerPeriod(std::numeric_limits<double>::infinity()), kLongestTimerPeriod);
  EXPECT_EQ(timerPeriod(2147483.647), kLongestTimerPeriod);
  EXPECT_EQ(timerPeriod(2147483.646), kLongestTimerPeriod - 1);
}

TEST(TimerPeriod, FromStoredText) {
  EXPECT_EQ(timerPeriod(textToNumber(L"3")), 3000u);
  EXPECT_EQ(timerPeriod(textToNumber(L"1 5")), 15000u);
  EXPECT_EQ(timerPeriod(textToNumber(L"10s")), 10000u);
  EXPECT_EQ(timerPeriod(textToNumber(L"abc")), 0u);
  EXPECT_EQ(timerPeriod(textToNumber(L"")), 0u);
  EXPECT_EQ(timerPeriod(textToNumber(L"&HFFFFFFFF")), 0u);
  EXPECT_EQ(timerPeriod(textToNumber(L"&H10")), 16000u);
  EXPECT_EQ(timerPeriod(textToNumber(L"1e300")), kLongestTimerPeriod);
}

}  // namespace
}  // namespace slidewell::slideshow

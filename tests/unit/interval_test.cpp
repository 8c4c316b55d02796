#include "slideshow/interval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>

namespace slidewell::slideshow {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Reading {
  const wchar_t* text;
  double number;
};

void expectReadings(std::initializer_list<Reading> readings) {
  for (const auto& [text, number] : readings) {
    EXPECT_EQ(textToNumber(text), number) << testing::PrintToString(std::wstring(text));
  }
}

struct Period {
  double seconds;
  std::uint32_t milliseconds;
};

void expectPeriods(std::initializer_list<Period> periods) {
  for (const auto& [seconds, milliseconds] : periods) EXPECT_EQ(timerPeriod(seconds), milliseconds) << seconds;
}

TEST(TextToNumber, ReadsDecimalNumbers) {
  expectReadings({{L"3", 3.0},
                  {L"2.5", 2.5},
                  {L".5", 0.5},
                  {L"5.", 5.0},
                  {L"-5", -5.0},
                  {L"+7", 7.0},
                  {L"007", 7.0},
                  {L"-.25", -0.25}});
}

TEST(TextToNumber, ReadsExponentsWithEOrD) {
  expectReadings({{L"1e3", 1000.0}, {L"1E+3", 1000.0}, {L"25e-1", 2.5}, {L"1d2", 100.0}, {L"1D-1", 0.1}});
  // An exponent without digits is not part of the number.
  expectReadings({{L"4e", 4.0}, {L"4e+", 4.0}, {L"4ex", 4.0}});
}

TEST(TextToNumber, SkipsBlanksTabsAndLineFeedsAnywhere) {
  expectReadings({{L"1 5", 15.0}, {L"  2\t.\n5  ", 2.5}, {L"- 5", -5.0}, {L"1 e 2", 100.0}, {L"& H 1 0", 16.0}});
  // Other white space is not skipped: it ends the number.
  expectReadings({{L"1\r5", 1.0}, {L"1\u00A05", 1.0}});
}

TEST(TextToNumber, TakesTheLongestLeadingNumber) {
  expectReadings({{L"10s", 10.0}, {L"1.2.3", 1.2}, {L"1,5", 1.0}, {L"3 seconds", 3.0}, {L"2--", 2.0}});
}

TEST(TextToNumber, GivesZeroWithoutALeadingNumber) {
  expectReadings({{L"", 0.0},
                  {L"abc", 0.0},
                  {L".", 0.0},
                  {L"-", 0.0},
                  {L"--5", 0.0},
                  {L"e5", 0.0},
                  {L"$5", 0.0},
                  {L"&", 0.0},
                  {L"&X10", 0.0},
                  {L"&H", 0.0},
                  {L"&O9", 0.0}});
  // Digits of other scripts are not digits here.
  expectReadings({{L"\uFF13", 0.0}, {L"\u0663", 0.0}});
}

TEST(TextToNumber, ReadsHexadecimalAndOctalAs32BitTwosComplement) {
  expectReadings({{L"&H10", 16.0},
                  {L"&hff", 255.0},
                  {L"&HFFFF", 65535.0},
                  {L"&H7FFFFFFF", 2147483647.0},
                  {L"&H80000000", -2147483648.0},
                  {L"&HFFFFFFFF", -1.0},
                  {L"&O17", 15.0},
                  {L"&o37777777777", -1.0}});
  // Reading stops at a character that is no digit of the radix...
  expectReadings({{L"&H1G", 1.0}, {L"&O78", 7.0}, {L"&H1.5", 1.0}});
  // ...and before a digit that would need a 33rd bit; leading zeros need none.
  expectReadings({{L"&H123456789", static_cast<double>(0x12345678)},
                  {L"&H0000000010", 16.0},
                  {L"&O40000000000", static_cast<double>(0x20000000)}});
  // The prefix counts only at the start; a sign before it ends the number.
  expectReadings({{L"-&H10", 0.0}, {L"1&H10", 1.0}});
}

TEST(TextToNumber, NumbersBeyondADoubleBecomeInfinityOrZero) {
  expectReadings({{L"1e300", 1e300},
                  {L"1e400", kInfinity},
                  {L"-1e400", -kInfinity},
                  {L"0.0001e-400", 0.0},
                  {L"1e-400", 0.0},
                  {L"1e99999999999999999999", kInfinity},
                  {L"0.001e-99999999999999999999", 0.0}});
  // The exponent decides, together with where the first non-zero digit stands.
  expectReadings({{L"0.00000000001e310", 1e299}, {L"100000000000e-320", 1e-309}});
}

TEST(TimerPeriod, IsSecondsTimesAThousandRoundedHalfToEven) {
  // 1.5, 2.5, 3.5, 10.5 and 11.5 ms go to the even 2, 2, 4, 10 and 12.
  expectPeriods({{3.0, 3000},
                 {2.5, 2500},
                 {0.3, 300},
                 {0.0014, 1},
                 {0.0015, 2},
                 {0.0025, 2},
                 {0.0035, 4},
                 {0.0105, 10},
                 {0.0115, 12}});
  // The product is a double: 2.0005 x 1000 lies just above 2000.5, 1.0005 x 1000 is 1000.5 exactly.
  expectPeriods({{2.0005, 2001}, {1.0005, 1000}});
}

TEST(TimerPeriod, ZeroMeansNoTimer) {
  // 0.5 ms: half to the even 0.
  expectPeriods({{0.0, 0}, {0.0004, 0}, {0.0005, 0}, {0.00051, 1}});
}

TEST(TimerPeriod, PeriodsTheTimerCannotTakeAreMadeSound) {
  // Negative periods leave the timer off, as 0 does.
  expectPeriods({{-5.0, 0}, {-0.0, 0}, {-kInfinity, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}});
  // Longer than the timer takes: its longest period.
  expectPeriods({{1e300, kLongestTimerPeriod},
                 {kInfinity, kLongestTimerPeriod},
                 {2147483.647, kLongestTimerPeriod},
                 {2147483.646, kLongestTimerPeriod - 1}});
}

TEST(TimerPeriod, FromStoredText) {
  for (const auto& [text, period] :
       std::initializer_list<std::pair<const wchar_t*, std::uint32_t>>{{L"3", 3000},
                                                                       {L"1 5", 15000},
                                                                       {L"10s", 10000},
                                                                       {L"abc", 0},
                                                                       {L"", 0},
                                                                       {L"&HFFFFFFFF", 0},
                                                                       {L"&H10", 16000},
                                                                       {L"1e300", kLongestTimerPeriod}}) {
    EXPECT_EQ(timerPeriod(textToNumber(text)), period) << testing::PrintToString(std::wstring(text));
  }
}

}  // namespace
}  // namespace slidewell::slideshow

#pragma once

#include <cstdint>
#include <string_view>

namespace slidewell::slideshow {

// The longest number at the start of `text`, read by the classic text-to-number rule:
//  - blanks, tabs and line feeds are skipped wherever they stand, also between digits;
//  - a number is an optional sign, decimal digits with at most one decimal point, and an optional
//    exponent: E or D (any case), an optional sign and at least one digit;
//  - "&H" and "&O" (any case) at the start read hexadecimal or octal digits as a 32-bit two's-complement
//    value, so "&HFFFFFFFF" is -1; reading stops before a digit that would need more than 32 bits;
//  - reading stops at the first character that does not fit; no number at the start gives 0.
// A decimal number beyond the range of a double reads as an infinity of its sign, one below it as 0.
double textToNumber(std::wstring_view text);

// The platform timer's longest period (USER_TIMER_MAXIMUM), about 24.8 days.
inline constexpr std::uint32_t kLongestTimerPeriod = 0x7FFFFFFF;

// The timer period in milliseconds for an interval in seconds: seconds x 1000 in double precision,
// rounded to the nearest whole number with an exact half going to the even neighbour.
// 0 means "no timer": so do zero, negative and NaN intervals, and those that round to 0.
// A longer period than the timer takes is cut to kLongestTimerPeriod. Periods from 1 to 9 ms are
// returned as they are: the platform raises them to its 10 ms minimum itself.
std::uint32_t timerPeriod(double seconds);

}  // namespace slidewell::slideshow

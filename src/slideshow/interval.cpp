#include "slideshow/interval.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "text/ascii_case.h"

namespace slidewell::slideshow {
namespace {

using text::asciiLower;
using text::isAsciiDigit;

std::optional<unsigned> digitValue(char c, unsigned radix) {
  unsigned value = radix;  // no digit
  if (isAsciiDigit(c)) value = static_cast<unsigned>(c - '0');
  if (asciiLower(c) >= 'a' && asciiLower(c) <= 'f') value = static_cast<unsigned>(asciiLower(c) - 'a' + 10);
  if (value >= radix) return std::nullopt;
  return value;
}

// The text without the characters the rule skips. Only ASCII takes part in a number, so every other
// character becomes one that stops the reading.
std::string withoutBlanks(std::wstring_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == L' ' || c == L'\t' || c == L'\n') continue;
    kept.push_back(c < 0x80 ? static_cast<char>(c) : '\x7F');
  }
  return kept;
}

double radixNumber(std::string_view digits, unsigned radix) {
  std::uint32_t value = 0;
  for (const char c : digits) {
    const auto digit = digitValue(c, radix);
    if (!digit || value > (std::numeric_limits<std::uint32_t>::max() - *digit) / radix) break;
    value = value * radix + *digit;
  }
  return static_cast<std::int32_t>(value);
}

double decimalNumber(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

  // The significand, and what tells overflow from underflow: the power of ten of its first non-zero
  // digit, from the integer digits that start with it or the zeros after the point before it.
  std::string number;
  bool point = false;
  bool anyDigit = false;
  bool nonZero = false;
  long integerDigits = 0;
  long zerosAfterPoint = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '.' && !point) {
      point = true;
    } else if (isAsciiDigit(c)) {
      anyDigit = true;
      nonZero = nonZero || c != '0';
      if (!point && nonZero) ++integerDigits;
      if (point && !nonZero) ++zerosAfterPoint;
    } else {
      break;
    }
    number.push_back(c);
  }
  if (!anyDigit) return 0.0;
  const long leadPower = integerDigits > 0 ? integerDigits - 1 : -(zerosAfterPoint + 1);

  long exponent = 0;
  if (pos < text.size() && (asciiLower(text[pos]) == 'e' || asciiLower(text[pos]) == 'd')) {
    std::size_t q = pos + 1;
    bool negativeExponent = false;
    if (q < text.size() && (text[q] == '+' || text[q] == '-')) negativeExponent = text[q++] == '-';
    if (q < text.size() && isAsciiDigit(text[q])) {
      number.push_back('e');
      if (negativeExponent) number.push_back('-');
      for (; q < text.size() && isAsciiDigit(text[q]); ++q) {
        number.push_back(text[q]);
        if (exponent < 100000) exponent = exponent * 10 + (text[q] - '0');
      }
      if (negativeExponent) exponent = -exponent;
    }
  }

  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = leadPower + exponent >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double textToNumber(std::wstring_view text) {
  const std::string kept = withoutBlanks(text);
  if (kept.size() >= 2 && kept[0] == '&') {
    const char radix = asciiLower(kept[1]);
    if (radix == 'h') return radixNumber(std::string_view(kept).substr(2), 16);
    if (radix == 'o') return radixNumber(std::string_view(kept).substr(2), 8);
    return 0.0;
  }
  return decimalNumber(kept);
}

std::uint32_t timerPeriod(double seconds) {
  const double milliseconds = seconds * 1000.0;
  // Also false for NaN. An exact half rounds to the even 0.
  if (!(milliseconds > 0.5)) return 0;
  if (milliseconds >= kLongestTimerPeriod) return kLongestTimerPeriod;
  double whole = std::floor(milliseconds);
  const double fraction = milliseconds - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  return static_cast<std::uint32_t>(whole);
}

}  // namespace slidewell::slideshow

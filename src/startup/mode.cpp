#include "startup/mode.h"

#include <limits>

#include "text/ascii_case.h"

namespace slidewell::startup {
namespace {

// Where the first "/`letter`" starts, in any case; npos when there is none. `letter` is a small one.
std::size_t findSwitch(std::wstring_view arguments, wchar_t letter) {
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == L'/' && text::asciiLower(arguments[i + 1]) == letter) return i;
  }
  return std::wstring_view::npos;
}

}  // namespace

Mode chooseMode(std::wstring_view arguments) {
  if (findSwitch(arguments, L'c') != std::wstring_view::npos) return Mode::Setup;
  if (findSwitch(arguments, L's') != std::wstring_view::npos) return Mode::Show;
  return Mode::None;
}

std::optional<std::uint32_t> setupOwner(std::wstring_view arguments) {
  const std::size_t found = findSwitch(arguments, L'c');
  if (found == std::wstring_view::npos) return std::nullopt;
  const std::wstring_view rest = arguments.substr(found + 2);
  if (rest.size() < 2 || rest[0] != L':' || !text::isAsciiDigit(rest[1])) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = 1; i < rest.size() && text::isAsciiDigit(rest[i]); ++i) {
    value = value * 10 + static_cast<std::uint64_t>(rest[i] - L'0');
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace slidewell::startup

#include "startup/mode.h"

#include "text/ascii_case.h"

namespace slidewell::startup {
namespace {

// `letter` is a small one.
bool containsSwitch(std::wstring_view arguments, wchar_t letter) {
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == L'/' && text::asciiLower(arguments[i + 1]) == letter) return true;
  }
  return false;
}

}  // namespace

Mode chooseMode(std::wstring_view arguments) {
  if (containsSwitch(arguments, L'c')) return Mode::Setup;
  if (containsSwitch(arguments, L's')) return Mode::Show;
  return Mode::None;
}

}  // namespace slidewell::startup

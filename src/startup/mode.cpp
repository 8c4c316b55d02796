#include "startup/mode.h"

namespace slidewell {
namespace {

bool containsSwitch(std::wstring_view text, wchar_t lower, wchar_t upper) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == L'/' && (text[i + 1] == lower || text[i + 1] == upper)) return true;
  }
  return false;
}

}  // namespace

Mode chooseMode(std::wstring_view arguments) {
  if (containsSwitch(arguments, L'c', L'C')) return Mode::Setup;
  if (containsSwitch(arguments, L's', L'S')) return Mode::Show;
  return Mode::None;
}

}  // namespace slidewell

#pragma once

#include <string_view>

namespace slidewell::startup {

// What the screen-saver machinery asked for on the command line.
enum class Mode { Setup, Show, None };

// "/c" anywhere, in any letter case, asks for the setup dialog and wins over "/s";
// otherwise "/s" anywhere starts the show; anything else (preview "/p", password "/a", nothing) opens nothing.
Mode chooseMode(std::wstring_view arguments);

}  // namespace slidewell::startup

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace slidewell::startup {

// What the screen-saver machinery asked for on the command line.
enum class Mode { Setup, Show, None };

// "/c" anywhere, in any letter case, asks for the setup dialog and wins over "/s";
// otherwise "/s" anywhere starts the show; anything else (preview "/p", password "/a", nothing) opens nothing.
Mode chooseMode(std::wstring_view arguments);

// The window that asked for the setup dialog: the machinery passes its own handle in decimal as
// "/c:NNNN". The number is the run of decimal digits right after the first "/c" when a colon follows it;
// nullopt without such digits or when they exceed 32 bits, the width of a window handle on 32-bit and
// 64-bit Windows alike.
std::optional<std::uint32_t> setupOwner(std::wstring_view arguments);

}  // namespace slidewell::startup

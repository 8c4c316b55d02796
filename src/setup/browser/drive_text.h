#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace slidewell::setup {

// How the drive list shows a drive, and the text it reports as its current drive: the small letter and a
// colon, then the volume label in brackets when the drive has one ("c: [SYSTEM]", "d:").
std::wstring driveText(wchar_t letter, std::wstring_view label);

// The drive that a drive text, a stored one or a full path names, as its capital letter ("c: [SYSTEM]" and
// "C:\pics" both give 'C'); nullopt when the text does not start with a letter and a colon.
std::optional<wchar_t> driveLetterOf(std::wstring_view text);

// The root folder of a drive: 'C' gives "C:\".
std::wstring driveRoot(wchar_t letter);

}  // namespace slidewell::setup

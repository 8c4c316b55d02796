#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace slidewell::bench {

// Milliseconds from starting slidewell.scr "/s" until the middle of the screen shows something that is
// neither black nor what was there before: the first picture painted. The first stored picture must be
// free of black pixels and cover the middle of the screen wherever it lands.
std::optional<double> msToFirstPicture(const std::wstring& scrPath);

// One change of picture in the show's own window, as at a tick: read, decode, place and paint. The
// median of `rounds`, in milliseconds. COM must be initialised.
double msPerChange(const std::wstring& picturePath, int rounds);

// The median time of merely reading the file's bytes into memory.
double msToReadFile(const std::wstring& path, int rounds);

// The largest working set, in bytes, of slidewell.scr "/s" showing the stored pictures for `ms`.
std::optional<SIZE_T> peakWorkingSetOfShow(const std::wstring& scrPath, DWORD ms);

}  // namespace slidewell::bench

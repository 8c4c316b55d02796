#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace slidewell::bench {

// Milliseconds from starting `program` with `arguments` until the middle of the screen shows something
// that is neither black nor what was there before: its first paint. What the program paints first must
// be free of black pixels and cover the middle of the screen.
std::optional<double> msToFirstPaint(const std::wstring& program, const std::wstring& arguments);

// The largest working set, in bytes, of `program` with `arguments` running for `ms`.
std::optional<SIZE_T> peakWorkingSet(const std::wstring& program, const std::wstring& arguments, DWORD ms);

// One change of picture in the show's own window, as at a tick: read, decode, place and paint. The
// median of `rounds`, in milliseconds. COM must be initialised.
double msPerChange(const std::wstring& picturePath, int rounds);

// The median time of merely reading the file's bytes into memory.
double msToReadFile(const std::wstring& path, int rounds);

// The median time of decoding the file's whole first frame into memory, in the decoder's own pixel
// format, with an imaging factory made beforehand. COM must be initialised.
double msToDecodeWhole(const std::wstring& path, int rounds);

}  // namespace slidewell::bench

#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "read_counter.h"

namespace slidewell::bench {

// Milliseconds from starting `program` with `arguments` until the middle of the screen shows something
// that is neither black nor what was there before: its first paint. What the program paints first must
// be free of black pixels and cover the middle of the screen.
std::optional<double> msToFirstPaint(const std::wstring& program, const std::wstring& arguments);

// The largest working set, in bytes, of `program` with `arguments` running for `ms`.
std::optional<SIZE_T> peakWorkingSet(const std::wstring& program, const std::wstring& arguments, DWORD ms);

// One change of picture in the show's own window, as at a tick: read, decode, place and paint.
struct ChangeCost {
  double ms;                // the median of the rounds
  std::uint64_t bytesRead;  // the most that the program's reads delivered in one round (see ReadFileCounter)
};
// COM must be initialised; `counter` must live.
ChangeCost costOfChange(const std::wstring& picturePath, int rounds, const ReadFileCounter& counter);

// The median time of merely reading the file's bytes into memory.
double msToReadFile(const std::wstring& path, int rounds);

// The same for `bytes` of the file from `offset` on, in one read.
double msToReadPart(const std::wstring& path, std::uint64_t offset, std::uint64_t bytes, int rounds);

// The median time of decoding the file's whole first frame into memory, in the decoder's own pixel
// format, with an imaging factory made beforehand. COM must be initialised.
double msToDecodeWhole(const std::wstring& path, int rounds);

}  // namespace slidewell::bench

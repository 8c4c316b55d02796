#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "read_counter.h"

namespace slidewell::bench {

// What one change of picture costs in the show's own window, made in this process, and the floors it
// is set beside. COM must be initialised; `counter` must live. Each gives nullopt, and says why on the
// error output, when it could not measure what it says: a change that did not end, a read that did not
// read all it was asked.

// One change as at a tick: read the stored path, open and read the file, place, make the shown bitmap,
// hand it to the window's thread and paint it; the median over `rounds` after the first picture. The
// show's store must hold `path` as its one picture.
struct ChangeCost {
  double ms;
  std::uint64_t bytesRead;                   // by the last round, at the program's own calls of ReadFile
  std::vector<ReadFileCounter::Read> reads;  // the last round's reads, where each read
};
std::optional<ChangeCost> costOfChange(const std::wstring& path, int rounds, const ReadFileCounter& counter);

// Where the time of a change goes, each part timed apart, medians of `rounds`.
struct Breakdown {
  double storeRead;  // the stored path, from the registry
  double open;       // the file opened and its header read
  double fileCalls;  // of reading the part shown: the time inside ReadFile
  double copying;    // of reading the part shown: the rest, converting and copying into the bitmap
  double bitmap;     // a bitmap of the part's size made and first written (a share of `copying`)
  double handOff;    // a job's end carried from the loader thread to the window's thread
  double paint;      // the window painted with the picture
};
std::optional<Breakdown> breakdownOfChange(const std::wstring& path, int rounds, const ReadFileCounter& counter);

// The floors: the file opened and read whole; `bytes` of it from `offset` on, in one call; the reads
// that a change made, made again in the same order; its first frame decoded whole by the platform's
// decoder. Buffers are made before the clock starts.
std::optional<double> msToReadFile(const std::wstring& path, int rounds);
std::optional<double> msToReadPart(const std::wstring& path, std::uint64_t offset, std::uint64_t bytes, int rounds);
std::optional<double> msToReadAgain(const std::wstring& path, const std::vector<ReadFileCounter::Read>& reads,
                                    int rounds);
std::optional<double> msToDecodeWhole(const std::wstring& path, int rounds);

// The bytes that the platform's decoder adds to this process's peak working set when it is asked for
// one pixel of the first frame: its own copy of the frame and what it needs beside it. For a process
// of its own.
std::optional<std::uint64_t> peakOfDecoderCopy(const std::wstring& path);

}  // namespace slidewell::bench

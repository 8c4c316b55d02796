#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/handles.h"

namespace slidewell::bench {

// What is measured of the show as a program of its own, started as the screen-saver machinery starts
// it, beside the floors of a program's start. Each gives nullopt when it saw nothing to measure.

double nowMs();
double median(std::vector<double> values);

// A started program, ended when this owner goes.
class Program {
 public:
  Program(const std::wstring& path, const std::wstring& arguments);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();
  HANDLE process() const { return process_.get(); }

 private:
  win::UniqueKernelHandle process_;
};

// Milliseconds from starting `program` with `arguments` until the middle of the screen shows something
// that is neither black nor what was there before: its first paint. What the program paints first must
// be free of black pixels and cover the middle of the screen.
std::optional<double> msToFirstPaint(const std::wstring& program, const std::wstring& arguments);

// The largest working set, in bytes, of `program` with `arguments` running for `ms`.
std::optional<SIZE_T> peakWorkingSet(const std::wstring& program, const std::wstring& arguments, DWORD ms);

// The processor time, in milliseconds, that `program` with `arguments` takes over `ms`, from 2 s after
// its start.
std::optional<double> processorMs(const std::wstring& program, const std::wstring& arguments, DWORD ms);

// The longest stretch, in milliseconds, in which the screen showed nothing but black, from the first
// picture of `program` with `arguments` until it has changed the screen `changes` times.
struct Blank {
  double longestMs;
  int changes;
};
std::optional<Blank> blankBetweenPictures(const std::wstring& program, const std::wstring& arguments, int changes);

// The exit code of `program` with `arguments` run to its end.
std::optional<DWORD> exitCodeOf(const std::wstring& program, const std::wstring& arguments);

}  // namespace slidewell::bench

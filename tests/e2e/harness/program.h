#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/handles.h"

namespace slidewell::e2e {

// The path of the slidewell.scr under test, given to the test program on its command line.
const std::wstring& scrPath();
void setScrPath(std::wstring path);

// slidewell.scr started as the screen-saver machinery starts it: "<path> <arguments>", in
// `workingFolder` (this program's current folder when empty).
// The test that starts it owns it: the destructor ends it if it is still running.
class RunningProgram {
 public:
  explicit RunningProgram(std::wstring_view arguments, const std::wstring& workingFolder = {});
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  ~RunningProgram();

  bool started() const { return static_cast<bool>(process_); }
  DWORD processId() const { return processId_; }

  bool waitForExit(DWORD timeoutMs) const;
  bool running() const;
  // The exit code once the process has ended.
  std::optional<DWORD> exitCode() const;

  // A visible top-level window of this process with the given title, waited for.
  HWND waitForWindow(std::wstring_view title, DWORD timeoutMs) const;
  // Any visible top-level window of this process.
  HWND anyWindow() const;
  // Every visible top-level window of this process.
  std::vector<HWND> windows() const;
  // The slide show's window, waited for until it is displayed.
  HWND waitForShowWindow() const;

 private:
  win::UniqueKernelHandle process_;
  DWORD processId_ = 0;
};

// Whether `program` ends within `timeoutMs` with exit code 0.
testing::AssertionResult endsWithCodeZero(const RunningProgram& program, DWORD timeoutMs = 5000);

// The text of a window as another process reads it (WM_GETTEXT is marshalled across processes).
std::wstring windowText(HWND window);

}  // namespace slidewell::e2e

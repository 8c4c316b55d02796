#include "measure.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>

#include "win/gdi.h"

namespace slidewell::bench {
namespace {

COLORREF middleOfScreen() {
  const win::WindowDc screen(nullptr);
  return GetPixel(screen.get(), GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

double processorMsOf(HANDLE process) {
  FILETIME created{}, ended{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0.0;
  const auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// The screen's pixels, captured whole, and whether they are all black.
class ScreenCapture {
 public:
  ScreenCapture()
      : left_(GetSystemMetrics(SM_XVIRTUALSCREEN)),
        top_(GetSystemMetrics(SM_YVIRTUALSCREEN)),
        width_(GetSystemMetrics(SM_CXVIRTUALSCREEN)),
        height_(GetSystemMetrics(SM_CYVIRTUALSCREEN)),
        screen_(nullptr),
        dc_(screen_.get()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  }
  bool ok() const { return bits_ != nullptr; }

  // Captures the screen: whether it shows nothing but black, and whether it differs from the last capture.
  struct Seen {
    bool black;
    bool changed;
  };
  Seen capture() {
    const win::SelectionScope selected(dc_.get(), bitmap_.get());
    BitBlt(dc_.get(), 0, 0, width_, height_, screen_.get(), left_, top_, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits_);
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    const bool black = std::all_of(pixels, pixels + count, [](std::uint32_t p) { return (p & 0xFFFFFF) == 0; });
    const bool changed = !last_.empty() && !std::equal(pixels, pixels + count, last_.begin());
    last_.assign(pixels, pixels + count);
    return {black, changed};
  }

 private:
  int left_, top_, width_, height_;
  win::WindowDc screen_;
  win::MemoryDc dc_;
  win::UniqueBitmap bitmap_;
  void* bits_ = nullptr;
  std::vector<std::uint32_t> last_;
};

}  // namespace

double nowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

Program::Program(const std::wstring& path, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + path + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
  }
}

Program::~Program() {
  if (!process_ || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return;
  TerminateProcess(process_.get(), 0);
  WaitForSingleObject(process_.get(), 5000);
}

std::optional<double> msToFirstPaint(const std::wstring& program, const std::wstring& arguments) {
  const COLORREF before = middleOfScreen();
  const double start = nowMs();
  const Program show(program, arguments);
  if (show.process() == nullptr) return std::nullopt;
  while (nowMs() - start < 20000) {
    const COLORREF now = middleOfScreen();
    if (now != before && now != RGB(0, 0, 0) && now != CLR_INVALID) return nowMs() - start;
    Sleep(1);
  }
  return std::nullopt;
}

std::optional<SIZE_T> peakWorkingSet(const std::wstring& program, const std::wstring& arguments, DWORD ms) {
  const Program show(program, arguments);
  if (show.process() == nullptr) return std::nullopt;
  Sleep(ms);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(show.process(), &memory, sizeof memory)) return std::nullopt;
  return memory.PeakWorkingSetSize;
}

std::optional<double> processorMs(const std::wstring& program, const std::wstring& arguments, DWORD ms) {
  const Program show(program, arguments);
  if (show.process() == nullptr) return std::nullopt;
  Sleep(2000);
  const double before = processorMsOf(show.process());
  Sleep(ms);
  if (WaitForSingleObject(show.process(), 0) == WAIT_OBJECT_0) return std::nullopt;
  return processorMsOf(show.process()) - before;
}

std::optional<Blank> blankBetweenPictures(const std::wstring& program, const std::wstring& arguments, int changes) {
  ScreenCapture screen;
  if (!screen.ok()) return std::nullopt;
  const Program show(program, arguments);
  if (show.process() == nullptr) return std::nullopt;
  const double start = nowMs();
  // The first picture, before which the screen is black as the window comes up.
  while (screen.capture().black) {
    if (nowMs() - start > 20000) return std::nullopt;
  }
  Blank blank{0.0, 0};
  double blackSince = -1.0;  // when the screen turned all black; below 0 while it is not
  while (blank.changes < changes) {
    if (nowMs() - start > 120000 || WaitForSingleObject(show.process(), 0) == WAIT_OBJECT_0) return std::nullopt;
    const double at = nowMs();
    const auto seen = screen.capture();
    if (seen.changed) ++blank.changes;
    if (seen.black && blackSince < 0.0) blackSince = at;
    if (!seen.black && blackSince >= 0.0) {
      blank.longestMs = std::max(blank.longestMs, at - blackSince);
      blackSince = -1.0;
    }
  }
  return blank;
}

std::optional<DWORD> exitCodeOf(const std::wstring& program, const std::wstring& arguments) {
  const Program run(program, arguments);
  DWORD code = 0;
  if (run.process() == nullptr || WaitForSingleObject(run.process(), 60000) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(run.process(), &code)) {
    return std::nullopt;
  }
  return code;
}

}  // namespace slidewell::bench

#include "measure.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>

#include "memory_settings_store.h"
#include "slideshow/slide_window.h"
#include "win/gdi.h"
#include "kernel_handles.h"

namespace slidewell::bench {
namespace {

double nowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// slidewell.scr "/s", ended when this owner goes.
class Show {
 public:
  explicit Show(const std::wstring& scrPath) {
    std::wstring commandLine = L"\"" + scrPath + L"\" /s";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(scrPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
      CloseHandle(info.hThread);
      process_.reset(info.hProcess);
    }
  }
  Show(const Show&) = delete;
  Show& operator=(const Show&) = delete;
  ~Show() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
  }
  HANDLE process() const { return process_.get(); }

 private:
  testing_support::UniqueKernelHandle process_;
};

COLORREF middleOfScreen() {
  const win::WindowDc screen(nullptr);
  return GetPixel(screen.get(), GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

}  // namespace

std::optional<double> msToFirstPicture(const std::wstring& scrPath) {
  const COLORREF before = middleOfScreen();
  const double start = nowMs();
  const Show show(scrPath);
  if (show.process() == nullptr) return std::nullopt;
  while (nowMs() - start < 20000) {
    const COLORREF now = middleOfScreen();
    if (now != before && now != RGB(0, 0, 0) && now != CLR_INVALID) return nowMs() - start;
    Sleep(1);
  }
  return std::nullopt;
}

double msPerChange(const std::wstring& picturePath, int rounds) {
  testing_support::MemorySettingsStore store;
  store.save(L"Picture 0", picturePath);
  store.save(L"temps", L"0");
  slideshow::SlideWindow window(GetModuleHandleW(nullptr), store, [] {});
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.hwnd());
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = nowMs();
    window.nextimg();
    UpdateWindow(window.hwnd());
    GdiFlush();
    times.push_back(nowMs() - start);
  }
  return median(times);
}

double msToReadFile(const std::wstring& path, int rounds) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = nowMs();
    const testing_support::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return 0.0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    times.push_back(nowMs() - start);
  }
  return median(times);
}

std::optional<SIZE_T> peakWorkingSetOfShow(const std::wstring& scrPath, DWORD ms) {
  const Show show(scrPath);
  if (show.process() == nullptr) return std::nullopt;
  Sleep(ms);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(show.process(), &memory, sizeof memory)) return std::nullopt;
  return memory.PeakWorkingSetSize;
}

}  // namespace slidewell::bench

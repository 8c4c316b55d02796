#include "measure.h"

#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>

#include "memory_settings_store.h"
#include "slideshow/slide_window.h"
#include "wait.h"
#include "win/com.h"
#include "win/gdi.h"
#include "win/handles.h"

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

// A started program, ended when this owner goes.
class Program {
 public:
  Program(const std::wstring& path, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
      CloseHandle(info.hThread);
      process_.reset(info.hProcess);
    }
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
  }
  HANDLE process() const { return process_.get(); }

 private:
  win::UniqueKernelHandle process_;
};

COLORREF middleOfScreen() {
  const win::WindowDc screen(nullptr);
  return GetPixel(screen.get(), GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

}  // namespace

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

ChangeCost costOfChange(const std::wstring& picturePath, int rounds, const ReadFileCounter& counter) {
  testing_support::MemorySettingsStore store;
  store.save(L"Picture 0", picturePath);
  store.save(L"temps", L"0");
  slideshow::SlideWindow window(GetModuleHandleW(nullptr), store, [] {});
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.hwnd());
  std::vector<double> times;
  std::uint64_t mostBytes = 0;
  for (int i = 0; i < rounds; ++i) {
    const std::uint64_t bytesBefore = counter.bytes();
    const double start = nowMs();
    window.nextimg();
    // The picture is read on the show's loader thread, and its end comes back as a message.
    testing_support::waitUntil([&] { return !window.changing(); }, 10000);
    UpdateWindow(window.hwnd());
    GdiFlush();
    times.push_back(nowMs() - start);
    mostBytes = std::max(mostBytes, counter.bytes() - bytesBefore);
  }
  return ChangeCost{median(times), mostBytes};
}

double msToReadFile(const std::wstring& path, int rounds) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0.0;
  return msToReadPart(path, 0, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, rounds);
}

double msToReadPart(const std::wstring& path, std::uint64_t offset, std::uint64_t bytes, int rounds) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = nowMs();
    const win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return 0.0;
    std::vector<std::uint8_t> part(static_cast<std::size_t>(bytes));
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    ReadFile(file.get(), part.data(), static_cast<DWORD>(part.size()), &read, &at);
    times.push_back(nowMs() - start);
  }
  return median(times);
}

double msToDecodeWhole(const std::wstring& path, int rounds) {
  win::UniqueCom<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put())))) {
    return 0.0;
  }
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = nowMs();
    win::UniqueCom<IWICBitmapDecoder> decoder;
    win::UniqueCom<IWICBitmapFrameDecode> frame;
    win::UniqueCom<IWICComponentInfo> component;
    win::UniqueCom<IWICPixelFormatInfo> info;
    WICPixelFormatGUID format{};
    UINT width = 0;
    UINT height = 0;
    UINT bits = 0;
    if (FAILED(factory.get()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) || FAILED(frame.get()->GetSize(&width, &height)) ||
        FAILED(frame.get()->GetPixelFormat(&format)) ||
        FAILED(factory.get()->CreateComponentInfo(format, component.put())) ||
        FAILED(component.get()->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(info.put()))) ||
        FAILED(info.get()->GetBitsPerPixel(&bits))) {
      return 0.0;
    }
    const UINT stride = (width * bits + 31) / 32 * 4;
    std::vector<BYTE> pixels(std::size_t{stride} * height);
    if (FAILED(frame.get()->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) return 0.0;
    times.push_back(nowMs() - start);
  }
  return median(times);
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

}  // namespace slidewell::bench

#include "change_cost.h"

#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "measure.h"
#include "settings/registry_settings_store.h"
#include "slideshow/slide_window.h"
#include "wait.h"
#include "win/com.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/picture_file.h"
#include "win/worker.h"

namespace slidewell::bench {
namespace {

std::optional<std::uint64_t> fileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

win::UniqueFileHandle openToRead(const std::wstring& path) {
  return win::UniqueFileHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads `bytes` at `offset` into `into` in calls of at most 64 MB, the quickest way there is here (see
// win::FileBytes): the file pointer moved, then read from. Whether all of them came.
bool readAt(HANDLE file, std::uint64_t offset, std::uint64_t bytes, std::uint8_t* into) {
  LARGE_INTEGER place{};
  place.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, place, nullptr, FILE_BEGIN)) return false;
  for (std::uint64_t done = 0; done < bytes;) {
    const auto wanted = static_cast<DWORD>(std::min<std::uint64_t>(bytes - done, 64u << 20));
    DWORD got = 0;
    if (!ReadFile(file, into + done, wanted, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

// The part of a picture of `width` x `height` that a screen of the virtual screen's size shows when
// the picture lies in its middle.
WICRect shownPart(int width, int height) {
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int shownWidth = std::min(width, screenWidth);
  const int shownHeight = std::min(height, screenHeight);
  return WICRect{(width - shownWidth) / 2, (height - shownHeight) / 2, shownWidth, shownHeight};
}

struct NoTools {};

}  // namespace

std::optional<ChangeCost> costOfChange(const std::wstring& path, int rounds, const ReadFileCounter& counter) {
  const settings::RegistrySettingsStore store;
  if (store.get(L"Picture 0", L"") != path) {
    std::fprintf(stderr, "the show is not configured with the picture to measure\n");
    return std::nullopt;
  }
  slideshow::SlideWindow window(GetModuleHandleW(nullptr), store, [] {});
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.hwnd());
  // The first picture, which the window began to read as it was made, has ended before the first round.
  if (!testing_support::waitUntil([&] { return !window.changing(); }, 20000)) {
    std::fprintf(stderr, "the first picture of the show never ended\n");
    return std::nullopt;
  }
  std::vector<double> times;
  ChangeCost cost{};
  for (int i = 0; i < rounds; ++i) {
    counter.clear();
    const double start = nowMs();
    window.nextimg();
    if (!testing_support::waitUntil([&] { return !window.changing(); }, 20000)) {
      std::fprintf(stderr, "a change of the show never ended\n");
      return std::nullopt;
    }
    GdiFlush();
    times.push_back(nowMs() - start);
    if (!window.pictureArea()) {
      std::fprintf(stderr, "a change of the show showed nothing\n");
      return std::nullopt;
    }
  }
  cost.ms = median(times);
  cost.bytesRead = counter.bytes();
  cost.reads = counter.reads();
  return cost;
}

std::optional<Breakdown> breakdownOfChange(const std::wstring& path, int rounds, const ReadFileCounter& counter) {
  const settings::RegistrySettingsStore store;
  const win::PictureDecoder decoder;
  std::vector<double> storeReads, opens, fileCalls, copying, bitmaps, handOffs, paints;
  win::Worker<NoTools, int> worker(std::chrono::milliseconds(10000));
  slideshow::SlideWindow window(GetModuleHandleW(nullptr), store, [] {});
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  if (!testing_support::waitUntil([&] { return !window.changing(); }, 20000)) return std::nullopt;
  for (int i = 0; i < rounds; ++i) {
    double start = nowMs();
    if (store.get(L"Picture 0", L"") != path) return std::nullopt;
    storeReads.push_back(nowMs() - start);

    start = nowMs();
    const auto frame = decoder.open(path);
    opens.push_back(nowMs() - start);
    if (!frame) return std::nullopt;

    counter.clear();
    start = nowMs();
    const auto part = decoder.decodeArea(*frame, shownPart(frame->width, frame->height));
    const double decoding = nowMs() - start;
    if (!part) return std::nullopt;
    fileCalls.push_back(counter.ms());
    copying.push_back(decoding - counter.ms());

    BITMAP shown{};
    GetObjectW(part->bitmap.get(), sizeof shown, &shown);
    start = nowMs();
    {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = part->width;
      info.bmiHeader.biHeight = -part->height;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = shown.bmBitsPixel;
      void* bits = nullptr;
      const win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
      if (bits == nullptr) return std::nullopt;
      std::memset(bits, 0x40, static_cast<std::size_t>(shown.bmWidthBytes) * static_cast<std::size_t>(part->height));
    }
    bitmaps.push_back(nowMs() - start);

    bool delivered = false;
    start = nowMs();
    worker.start([](NoTools&, picture::ReadProgress&) { return std::optional(1); },
                 [&](std::optional<int>) { delivered = true; });
    if (!testing_support::waitUntil([&] { return delivered; }, 5000)) return std::nullopt;
    handOffs.push_back(nowMs() - start);

    start = nowMs();
    InvalidateRect(window.hwnd(), nullptr, FALSE);
    UpdateWindow(window.hwnd());
    GdiFlush();
    paints.push_back(nowMs() - start);
  }
  return Breakdown{median(storeReads), median(opens),    median(fileCalls), median(copying),
                   median(bitmaps),    median(handOffs), median(paints)};
}

std::optional<double> msToReadFile(const std::wstring& path, int rounds) {
  const auto size = fileSize(path);
  return size ? msToReadPart(path, 0, *size, rounds) : std::nullopt;
}

std::optional<double> msToReadPart(const std::wstring& path, std::uint64_t offset, std::uint64_t bytes, int rounds) {
  std::vector<std::uint8_t> part(static_cast<std::size_t>(bytes));
  std::fill(part.begin(), part.end(), std::uint8_t{1});  // every page of it in memory before the clock starts
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = nowMs();
    const auto file = openToRead(path);
    if (!file || !readAt(file.get(), offset, bytes, part.data())) {
      std::fprintf(stderr, "the bare read of %llu bytes did not read them all\n",
                   static_cast<unsigned long long>(bytes));
      return std::nullopt;
    }
    times.push_back(nowMs() - start);
  }
  return median(times);
}

std::optional<double> msToReadAgain(const std::wstring& path, const std::vector<ReadFileCounter::Read>& reads,
                                    int rounds) {
  std::uint32_t largest = 0;
  for (const auto& read : reads) largest = std::max(largest, read.bytes);
  std::vector<std::uint8_t> into(largest, std::uint8_t{1});
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = nowMs();
    const auto file = openToRead(path);
    for (const auto& read : reads) {
      if (!file || !readAt(file.get(), read.offset, read.bytes, into.data())) {
        std::fprintf(stderr, "the reads of a change, made again, did not read all they read\n");
        return std::nullopt;
      }
    }
    times.push_back(nowMs() - start);
  }
  return median(times);
}

std::optional<double> msToDecodeWhole(const std::wstring& path, int rounds) {
  win::UniqueCom<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put())))) {
    return std::nullopt;
  }
  std::vector<BYTE> pixels;
  std::vector<double> times;
  for (int i = 0; i < rounds + 1; ++i) {
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
      std::fprintf(stderr, "the bare decode could not open the picture\n");
      return std::nullopt;
    }
    const UINT stride = (width * bits + 31) / 32 * 4;
    // The first round only learns the size, so that the pixels' memory is made before the clock starts.
    if (pixels.size() != std::size_t{stride} * height) {
      pixels.assign(std::size_t{stride} * height, BYTE{1});
      continue;
    }
    if (FAILED(frame.get()->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) {
      std::fprintf(stderr, "the bare decode failed\n");
      return std::nullopt;
    }
    times.push_back(nowMs() - start);
  }
  return median(times);
}

std::optional<std::uint64_t> peakOfDecoderCopy(const std::wstring& path) {
  PROCESS_MEMORY_COUNTERS before{};
  before.cb = sizeof before;
  win::UniqueCom<IWICImagingFactory> factory;
  win::UniqueCom<IWICBitmapDecoder> decoder;
  win::UniqueCom<IWICBitmapFrameDecode> frame;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put()))) ||
      !GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before) ||
      FAILED(factory.get()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder.get()->GetFrame(0, frame.put()))) {
    return std::nullopt;
  }
  // One pixel asked for, as the show asks for only the part it shows: what is held beyond it is the
  // decoder's own.
  const WICRect onePixel{0, 0, 1, 1};
  BYTE pixel[16] = {};
  if (FAILED(frame.get()->CopyPixels(&onePixel, sizeof pixel, sizeof pixel, pixel))) return std::nullopt;
  PROCESS_MEMORY_COUNTERS after{};
  after.cb = sizeof after;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after)) return std::nullopt;
  return after.PeakWorkingSetSize - before.WorkingSetSize;
}

}  // namespace slidewell::bench

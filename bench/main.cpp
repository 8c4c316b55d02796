#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "measure.h"
#include "picture_encoder.h"
#include "settings/registry_settings_store.h"
#include "settings/settings_store.h"
#include "settings_backup.h"
#include "win/com.h"
#include "win/handles.h"

namespace {

using namespace slidewell;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRounds = 7;
constexpr double kMb = 1024.0 * 1024.0;

// Colour everywhere, never black, and varied enough that JPEG has work to do.
testing_support::Rgb patternAt(int x, int y) {
  return testing_support::Rgb{static_cast<std::uint8_t>(64 + (x * 7 + y) % 192),
                              static_cast<std::uint8_t>(32 + (y * 3) % 224),
                              static_cast<std::uint8_t>(16 + ((x ^ y) & 0xEF))};
}

bool writeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  const win::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

double fileMb(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0.0;
  return static_cast<double>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow) / kMb;
}

void configure(const std::vector<std::wstring>& pictures, std::wstring_view interval) {
  settings::RegistrySettingsStore store;
  for (int i = 0; i < settings::kPictureKeyCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    store.save(settings::pictureKey(i), index < pictures.size() ? pictures[index] : L"");
  }
  store.save(settings::kIntervalKey, interval);
}

double ratio(double a, double b) { return b > 0.0 ? a / b : 0.0; }

struct Change {
  double ms;
  std::uint64_t bytesRead;
  double readMs;
  double decodeMs;
};

Change printChange(const std::wstring& picture, const char* what, const char* target,
                   const bench::ReadFileCounter& counter) {
  const bench::ChangeCost cost = bench::costOfChange(picture, kRounds, counter);
  const Change change{cost.ms, cost.bytesRead, bench::msToReadFile(picture, kRounds),
                      bench::msToDecodeWhole(picture, kRounds)};
  std::printf(
      "one change, %-24s (%5.1f MB file): %7.1f ms | bare read %6.1f ms: %5.2f x | "
      "bare decode %6.1f ms: %5.2f x | target %s\n",
      what, fileMb(picture), change.ms, change.readMs, ratio(change.ms, change.readMs), change.decodeMs,
      ratio(change.ms, change.decodeMs), target);
  return change;
}

// The median start of the show to its first picture. Before each start the minimal program paints the
// screen another colour, since the last picture stays on screen after its program has ended.
void printFirstPicture(const std::wstring& scr, const std::wstring& minimal, const std::wstring& picture,
                       const char* what, double minimalMs, double changeMs) {
  configure({picture}, L"0");
  std::vector<double> starts;
  for (int i = 0; i < kRounds; ++i) {
    bench::msToFirstPaint(minimal, i % 2 == 0 ? L"grey" : L"white");
    if (const auto ms = bench::msToFirstPaint(scr, L"/s")) starts.push_back(*ms);
  }
  const double target = minimalMs + changeMs + 20.0;
  if (starts.empty()) {
    std::printf("entry to first picture, %-26s not seen within 20 s\n", what);
    return;
  }
  std::sort(starts.begin(), starts.end());
  const double ms = starts[starts.size() / 2];
  std::printf("entry to first picture, %-26s %7.1f ms | minimal start + one change + 20 ms = %6.1f ms: %5.2f x\n", what,
              ms, target, ms / target);
}

std::wstring besideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH + 1);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::wstring folderForFiles() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder = std::wstring(temp) + L"slidewell-bench-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

// slidewell_bench PATH-OF-slidewell.scr
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: %ls PATH-OF-slidewell.scr\n", argv[0]);
    return 2;
  }
  std::wstring scr = argv[1];
  if (!scr.empty() && scr.front() == L'/') {  // a path from the Unix side, under Wine
    for (auto& c : scr) c = c == L'/' ? L'\\' : c;
    scr.insert(0, L"Z:");
  }
  const win::ComApartment com(COINIT_APARTMENTTHREADED);
  const bench::SettingsBackup backup;
  if (!backup.ok()) {
    std::fprintf(stderr, "could not keep a copy of the current settings; nothing was measured\n");
    return 1;
  }

  const std::wstring folder = folderForFiles();
  const std::wstring screenBmp = folder + L"\\screen.bmp";
  const std::wstring bigBmp = folder + L"\\big.bmp";
  const std::wstring bigJpeg = folder + L"\\big.jpg";
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const auto big = testing_support::bmpBytes(kWidth, kHeight, patternAt);
  std::vector<std::uint8_t> bgra;
  bgra.reserve(std::size_t{kWidth} * kHeight * 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto c = patternAt(x, y);
      bgra.insert(bgra.end(), {c.b, c.g, c.r, 255});
    }
  }
  if (!writeFile(screenBmp, testing_support::bmpBytes(screenWidth, screenHeight, patternAt)) ||
      !writeFile(bigBmp, big) ||
      !testing_support::encodePicture(bigJpeg, GUID_ContainerFormatJpeg, kWidth, kHeight, bgra)) {
    std::fprintf(stderr, "could not write the pictures\n");
    return 1;
  }
  bgra = {};

  std::printf("Slidewell benchmark: %d-bit build, virtual screen %d x %d, median of %d rounds\n",
              static_cast<int>(sizeof(void*) * 8), screenWidth, screenHeight, kRounds);
  bench::msToReadFile(bigBmp, 1);  // every file once from disk first, so that all reads come from the cache
  bench::msToReadFile(bigJpeg, 1);
  bench::msToReadFile(screenBmp, 1);

  const std::wstring minimal = besideThisProgram(L"slidewell_minimal_window.exe");
  std::vector<double> starts;
  // Each start in another colour than the last, which stays on screen after its program has ended.
  for (int i = 0; i < kRounds; ++i) {
    if (const auto ms = bench::msToFirstPaint(minimal, i % 2 == 0 ? L"grey" : L"white")) starts.push_back(*ms);
  }
  if (starts.empty()) {
    std::fprintf(stderr, "the minimal window program was never seen\n");
    return 1;
  }
  std::sort(starts.begin(), starts.end());
  const double minimalMs = starts[starts.size() / 2];
  std::printf("start of a minimal window program, to its first paint: %7.1f ms\n", minimalMs);

  const bench::ReadFileCounter counter;
  if (!counter.ok()) std::printf("the bytes that a change reads cannot be counted here\n");
  const Change screenChange = printChange(screenBmp, "screen-sized 24-bit BMP", "-", counter);
  const Change bmpChange = printChange(bigBmp, "4000 x 3000 24-bit BMP", "1 x the bare read", counter);
  printChange(bigJpeg, "4000 x 3000 JPEG", "1.1 x the bare decode", counter);

  // The big bitmap covers the window, so a change shows a window's worth of rows, each cut to the
  // window's width. The bare read of as many whole rows in one call, from the middle of the file.
  const std::uint64_t stride = (std::uint64_t{kWidth} * 3 + 3) / 4 * 4;
  const int rowsShown = std::min(kHeight, screenHeight);
  const std::uint64_t rowsBytes = stride * static_cast<std::uint64_t>(rowsShown);
  const std::uint64_t visibleBytes = std::uint64_t{3} * static_cast<std::uint64_t>(std::min(kWidth, screenWidth)) *
                                     static_cast<std::uint64_t>(rowsShown);
  const double rowsMs = bench::msToReadPart(bigBmp, 54 + stride * static_cast<std::uint64_t>((kHeight - rowsShown) / 2),
                                            rowsBytes, kRounds);
  std::printf(
      "one change, 4000 x 3000 24-bit BMP, against the bare read of the %d rows shown (%.1f MB in one call, "
      "%.1f ms): %5.2f x | target 1.5 x\n",
      rowsShown, static_cast<double>(rowsBytes) / kMb, rowsMs, ratio(bmpChange.ms, rowsMs));
  if (counter.ok()) {
    const auto mb = [](std::uint64_t bytes) { return static_cast<double>(bytes) / kMb; };
    std::printf(
        "bytes read by that change: %.2f MB | the visible part of the rows shown %.2f MB: %5.2f x | "
        "the whole rows shown %.2f MB: %5.2f x | the whole file %.2f MB: %5.2f x\n",
        mb(bmpChange.bytesRead), mb(visibleBytes), ratio(mb(bmpChange.bytesRead), mb(visibleBytes)), mb(rowsBytes),
        ratio(mb(bmpChange.bytesRead), mb(rowsBytes)), fileMb(bigBmp), ratio(mb(bmpChange.bytesRead), fileMb(bigBmp)));
  }
  printFirstPicture(scr, minimal, screenBmp, "screen-sized 24-bit BMP:", minimalMs, screenChange.ms);
  printFirstPicture(scr, minimal, bigBmp, "4000 x 3000 24-bit BMP:", minimalMs, bmpChange.ms);

  const auto minimalPeak = bench::peakWorkingSet(minimal, L"", 1000);
  configure({bigBmp}, L"0.3");
  const auto bmpPeak = bench::peakWorkingSet(scr, L"/s", 5000);
  configure({bigBmp, bigJpeg}, L"0.3");
  const auto bothPeak = bench::peakWorkingSet(scr, L"/s", 5000);
  if (bmpPeak && bothPeak && minimalPeak) {
    const double minimalMb = static_cast<double>(*minimalPeak) / kMb;
    const double window = static_cast<double>(screenWidth) * screenHeight * 4 / kMb;
    const double decoderCopy = static_cast<double>(kWidth) * kHeight * 3 / kMb;
    const double bmpTarget = minimalMb + window + 8.0;
    const double bothTarget = bmpTarget + decoderCopy;
    std::printf(
        "peak working set, 5 s show of the BMP at 0.3 s: %6.1f MB | target: minimal program %.1f + "
        "window bitmap %.1f + 8 = %5.1f MB: %5.2f x\n",
        static_cast<double>(*bmpPeak) / kMb, minimalMb, window, bmpTarget,
        static_cast<double>(*bmpPeak) / kMb / bmpTarget);
    std::printf(
        "peak working set, 5 s show of the BMP and the JPEG at 0.3 s: %6.1f MB | target: the same + "
        "the JPEG decoder's copy %.1f = %5.1f MB: %5.2f x\n",
        static_cast<double>(*bothPeak) / kMb, decoderCopy, bothTarget,
        static_cast<double>(*bothPeak) / kMb / bothTarget);
  } else {
    std::printf("peak working set: not available\n");
  }

  DeleteFileW(screenBmp.c_str());
  DeleteFileW(bigBmp.c_str());
  DeleteFileW(bigJpeg.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "bmp_file.h"
#include "change_cost.h"
#include "figures.h"
#include "measure.h"
#include "picture_encoder.h"
#include "settings/registry_settings_store.h"
#include "settings/settings_store.h"
#include "settings_backup.h"
#include "win/com.h"
#include "win/handles.h"

namespace {

using namespace slidewell;
using namespace slidewell::bench;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRounds = 7;
// A program's start varies by tens of milliseconds from one to the next under Wine: starts take more
// rounds.
constexpr int kStartRounds = 15;
constexpr double kMb = 1024.0 * 1024.0;
// What the show may hold beyond the minimal program and its pictures: its threads' stacks, the imaging
// factory, the code of the decoders. A guess, not a measure.
constexpr double kSlackMb = 8.0;
// What the entry to the first picture may take beyond the minimal program's start and one change: the
// store, the timer and the cursor. A guess, not a measure.
constexpr double kEntrySlackMs = 20.0;
constexpr DWORD kDecoderCopyFailed = 0xFFFFFFFF;

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

std::wstring thisProgram() {
  wchar_t self[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH + 1);
  return self;
}

std::wstring besideThisProgram(const wchar_t* name) {
  const std::wstring self = thisProgram();
  return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

std::wstring folderForFiles() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder = std::wstring(temp) + L"slidewell-bench-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// The median start of the minimal program to its first paint, each start in another colour than the
// last, which stays on screen after its program has ended.
std::optional<double> minimalStart(const std::wstring& minimal) {
  std::vector<double> starts;
  for (int i = 0; i < kStartRounds; ++i) {
    const auto ms = msToFirstPaint(minimal, i % 2 == 0 ? L"grey" : L"white");
    if (!ms) return std::nullopt;
    starts.push_back(*ms);
  }
  return median(starts);
}

// The median start of the show to its first picture. Before each start the minimal program paints the
// screen another colour, since the last picture stays on screen after its program has ended.
std::optional<double> showStart(const std::wstring& scr, const std::wstring& minimal) {
  std::vector<double> starts;
  for (int i = 0; i < kStartRounds; ++i) {
    msToFirstPaint(minimal, i % 2 == 0 ? L"grey" : L"white");
    const auto ms = msToFirstPaint(scr, L"/s");
    if (!ms) return std::nullopt;
    starts.push_back(*ms);
  }
  return median(starts);
}

// The pictures of the benchmark, in a folder of their own, removed at the end.
struct Pictures {
  std::wstring folder = folderForFiles();
  std::wstring screenBmp = folder + L"\\screen.bmp";
  std::wstring bigBmp = folder + L"\\big.bmp";
  std::wstring bigJpeg = folder + L"\\big.jpg";

  bool write() const {
    const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    std::vector<std::uint8_t> bgra;
    bgra.reserve(std::size_t{kWidth} * kHeight * 4);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const auto c = patternAt(x, y);
        bgra.insert(bgra.end(), {c.b, c.g, c.r, 255});
      }
    }
    return writeFile(screenBmp, testing_support::bmpBytes(screenWidth, screenHeight, patternAt)) &&
           writeFile(bigBmp, testing_support::bmpBytes(kWidth, kHeight, patternAt)) &&
           testing_support::encodePicture(bigJpeg, GUID_ContainerFormatJpeg, kWidth, kHeight, bgra);
  }
  ~Pictures() {
    DeleteFileW(screenBmp.c_str());
    DeleteFileW(bigBmp.c_str());
    DeleteFileW(bigJpeg.c_str());
    RemoveDirectoryW(folder.c_str());
  }
};

// Where the time of the last change measured goes.
void noteBreakdown(Figures& figures, const std::wstring& path, const ReadFileCounter& counter) {
  const char* const what = "where the time of that change goes";
  const auto parts = breakdownOfChange(path, kRounds, counter);
  if (!parts) {
    figures.notMeasured(what, "a part could not be timed");
    return;
  }
  figures.note(what, format("store read %.2f ms, open and header %.2f ms, file calls %.2f ms, decoding, converting "
                            "and copying %.2f ms (of which making and first writing the bitmap %.2f ms), hand-off to "
                            "the window's thread %.2f ms, paint %.2f ms",
                            parts->storeRead, parts->open, parts->fileCalls, parts->copying, parts->bitmap,
                            parts->handOff, parts->paint));
}

// Each figure of one build, in one run. False when a measure could not be taken at all.
bool measure(const std::wstring& scr, Figures& figures) {
  const Pictures pictures;
  if (!pictures.write()) {
    std::fprintf(stderr, "could not write the pictures\n");
    return false;
  }
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  // Every file once from disk first, so that all reads come from the page cache.
  for (const auto* path : {&pictures.bigBmp, &pictures.bigJpeg, &pictures.screenBmp}) {
    if (!msToReadFile(*path, 1)) return false;
  }

  const std::wstring minimal = besideThisProgram(L"slidewell_minimal_window.exe");
  const auto minimalMs = minimalStart(minimal);
  if (!minimalMs) {
    std::fprintf(stderr, "the minimal window program was never seen\n");
    return false;
  }
  figures.note("start of a minimal window program to its first paint (floor)", format("%.1f ms", *minimalMs));

  const ReadFileCounter counter;
  if (!counter.ok()) {
    std::fprintf(stderr, "this program's reads cannot be watched here\n");
    return false;
  }

  // The large bitmap: its change, and the floors beside it. The picture covers the screen, so a change
  // shows a screen's worth of rows, each cut to the screen's width.
  configure({pictures.bigBmp}, L"0");
  const auto bmp = costOfChange(pictures.bigBmp, kRounds, counter);
  const auto bmpFile = msToReadFile(pictures.bigBmp, kRounds);
  const std::uint64_t stride = (std::uint64_t{kWidth} * 3 + 3) / 4 * 4;
  const int rowsShown = std::min(kHeight, screenHeight);
  const std::uint64_t rowsBytes = stride * static_cast<std::uint64_t>(rowsShown);
  const auto rowsMs = msToReadPart(pictures.bigBmp, 54 + stride * static_cast<std::uint64_t>((kHeight - rowsShown) / 2),
                                   rowsBytes, kRounds);
  if (!bmp || !bmpFile || !rowsMs) return false;
  const auto spansMs = msToReadAgain(pictures.bigBmp, bmp->reads, kRounds);
  if (!spansMs) return false;
  figures.goal("4000 x 3000 24-bit BMP change, against the bare read of the whole file",
               format("%.1f ms, %.2f x the read of %.1f ms", bmp->ms, ratio(bmp->ms, *bmpFile), *bmpFile),
               ratio(bmp->ms, *bmpFile), "1 x", 1.0);
  figures.goal("the same, against the bare read of the rows it shows",
               format("%.2f x the read of its %d rows (%.1f MB in one call) in %.1f ms", ratio(bmp->ms, *rowsMs),
                      rowsShown, static_cast<double>(rowsBytes) / kMb, *rowsMs),
               ratio(bmp->ms, *rowsMs), "1.5 x", 1.5);
  figures.note("the same, against the bare read of exactly what it reads",
               format("%.2f x the %zu reads it made, made again, in %.1f ms", ratio(bmp->ms, *spansMs),
                      bmp->reads.size(), *spansMs));
  const std::uint64_t visibleBytes = std::uint64_t{3} * static_cast<std::uint64_t>(std::min(kWidth, screenWidth)) *
                                     static_cast<std::uint64_t>(rowsShown);
  const auto mb = [](std::uint64_t bytes) { return static_cast<double>(bytes) / kMb; };
  figures.goal("bytes read by that change, against the visible part of the rows shown",
               format("%.2f MB: %.2f x the visible part (%.2f MB), %.2f x the whole rows, %.2f x the file",
                      mb(bmp->bytesRead), ratio(mb(bmp->bytesRead), mb(visibleBytes)), mb(visibleBytes),
                      ratio(mb(bmp->bytesRead), mb(rowsBytes)), ratio(mb(bmp->bytesRead), fileMb(pictures.bigBmp))),
               ratio(mb(bmp->bytesRead), mb(visibleBytes)), "1.1 x", 1.1,
               "a span shorter than 4 kB is read as the 4 kB block it starts");
  noteBreakdown(figures, pictures.bigBmp, counter);

  configure({pictures.screenBmp}, L"0");
  const auto screen = costOfChange(pictures.screenBmp, kRounds, counter);
  const auto screenFile = msToReadFile(pictures.screenBmp, kRounds);
  if (!screen || !screenFile) return false;
  figures.note("screen-sized 24-bit BMP change, against its bare read",
               format("%.1f ms, %.2f x the read of %.1f ms", screen->ms, ratio(screen->ms, *screenFile), *screenFile));

  configure({pictures.bigJpeg}, L"0");
  const auto jpeg = costOfChange(pictures.bigJpeg, kRounds, counter);
  const auto jpegDecode = msToDecodeWhole(pictures.bigJpeg, kRounds);
  if (!jpeg || !jpegDecode) return false;
  figures.goal("4000 x 3000 JPEG change, against its bare decode",
               format("%.1f ms, %.2f x the decode of %.1f ms", jpeg->ms, ratio(jpeg->ms, *jpegDecode), *jpegDecode),
               ratio(jpeg->ms, *jpegDecode), "1.1 x", 1.1);
  noteBreakdown(figures, pictures.bigJpeg, counter);

  for (const auto& [path, what, change] : {std::tuple{pictures.screenBmp, "screen-sized 24-bit BMP", screen->ms},
                                           std::tuple{pictures.bigBmp, "4000 x 3000 24-bit BMP", bmp->ms}}) {
    configure({path}, L"0");
    const std::string figure = format("entry to the first picture, %s", what);
    const auto entry = showStart(scr, minimal);
    if (!entry) {
      figures.notMeasured(figure, "the first picture was not seen within 20 s");
      continue;
    }
    const double goal = *minimalMs + change + kEntrySlackMs;
    figures.goal(figure, format("%.1f ms, %.2f x the goal", *entry, ratio(*entry, goal)), *entry,
                 format("the minimal start + one change + %.0f ms = %.1f ms", kEntrySlackMs, goal), goal,
                 format("%.0f ms for the store, the timer and the cursor", kEntrySlackMs));
  }

  // Memory: the minimal program, a show of the bitmap, a show of both pictures; the JPEG decoder's own
  // copy of its frame, measured in a process of its own.
  const auto minimalPeak = peakWorkingSet(minimal, L"", 1000);
  configure({pictures.bigBmp}, L"0.3");
  const auto bmpPeak = peakWorkingSet(scr, L"/s", 5000);
  configure({pictures.bigBmp, pictures.bigJpeg}, L"0.3");
  const auto bothPeak = peakWorkingSet(scr, L"/s", 5000);
  const auto decoderCopyKb = exitCodeOf(thisProgram(), L"--decoder-copy \"" + pictures.bigJpeg + L"\"");
  if (minimalPeak && bmpPeak && bothPeak && decoderCopyKb && *decoderCopyKb != kDecoderCopyFailed) {
    const double minimalMb = static_cast<double>(*minimalPeak) / kMb;
    const double window = static_cast<double>(screenWidth) * screenHeight * 4 / kMb;
    const double decoderCopy = static_cast<double>(*decoderCopyKb) / 1024.0;
    const double bmpGoal = minimalMb + 2 * window + kSlackMb;
    const double bmpMb = static_cast<double>(*bmpPeak) / kMb;
    const double bothMb = static_cast<double>(*bothPeak) / kMb;
    figures.goal("peak working set, 5 s show of the BMP at 0.3 s",
                 format("%.1f MB, %.2f x the goal", bmpMb, bmpMb / bmpGoal), bmpMb,
                 format("the minimal program %.1f + two window bitmaps %.1f + %.0f = %.1f MB", minimalMb, 2 * window,
                        kSlackMb, bmpGoal),
                 bmpGoal, format("%.0f MB for threads, factory and decoders", kSlackMb));
    figures.goal(
        "peak working set, 5 s show of the BMP and the JPEG at 0.3 s",
        format("%.1f MB, %.2f x the goal", bothMb, bothMb / (bmpGoal + decoderCopy)), bothMb,
        format("the same + the JPEG decoder's copy, measured at %.1f MB = %.1f MB", decoderCopy, bmpGoal + decoderCopy),
        bmpGoal + decoderCopy, format("%.0f MB for threads, factory and decoders", kSlackMb));
  } else {
    figures.notMeasured("peak working set", "a program's counters could not be read");
  }

  configure({pictures.bigJpeg, pictures.bigJpeg, pictures.bigJpeg}, L"1");
  if (const auto blank = blankBetweenPictures(scr, L"/s", 10)) {
    figures.goal(
        "blank between two pictures: the longest stretch with only black on the screen",
        format("%.0f ms over %d changes of 4000 x 3000 JPEG photos, every 1 s", blank->longestMs, blank->changes),
        blank->longestMs, "0 ms", 0.0);
  } else {
    figures.notMeasured("blank between two pictures", "the show did not change its picture 10 times within 120 s");
  }

  configure({pictures.screenBmp}, L"0");
  if (const auto busy = processorMs(scr, L"/s", 10000)) {
    figures.goal("processor time of a show between changes, over 10 s", format("%.1f ms", *busy), *busy, "0 ms", 0.0);
  } else {
    figures.notMeasured("processor time of a show between changes", "the show ended or could not be read");
  }
  return true;
}

}  // namespace

// slidewell_bench PATH-OF-slidewell.scr
// slidewell_bench --decoder-copy PICTURE   (for the benchmark itself: exits with the KB of the decoder's copy)
int wmain(int argc, wchar_t** argv) {
  const win::ComApartment com(COINIT_APARTMENTTHREADED);
  if (argc == 3 && std::wstring(argv[1]) == L"--decoder-copy") {
    const auto bytes = peakOfDecoderCopy(argv[2]);
    return static_cast<int>(bytes ? static_cast<DWORD>(*bytes / 1024) : kDecoderCopyFailed);
  }
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: %ls PATH-OF-slidewell.scr\n", argv[0]);
    return 2;
  }
  std::wstring scr = argv[1];
  if (!scr.empty() && scr.front() == L'/') {  // a path from the Unix side, under Wine
    for (auto& c : scr) c = c == L'/' ? L'\\' : c;
    scr.insert(0, L"Z:");
  }
  const bench::SettingsBackup backup;
  if (!backup.ok()) {
    std::fprintf(stderr, "could not keep a copy of the current settings; nothing was measured\n");
    return 1;
  }
  std::printf(
      "Slidewell benchmark: %d-bit build, virtual screen %d x %d, median of %d rounds (%d for a program's start), "
      "files in the page cache\n",
      static_cast<int>(sizeof(void*) * 8), GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
      kRounds, kStartRounds);
  Figures figures;
  if (!measure(scr, figures)) {
    std::fprintf(stderr, "the benchmark could not measure what it says; its figures are incomplete\n");
    return 1;
  }
  figures.printSummary();
  return 0;
}

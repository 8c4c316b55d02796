#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "measure.h"
#include "picture_encoder.h"
#include "settings/registry_settings_store.h"
#include "settings/settings_keys.h"
#include "settings_backup.h"
#include "win/com.h"
#include "kernel_handles.h"

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
  const testing_support::UniqueFileHandle file(
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

void printFirstPicture(const std::wstring& scr, const std::wstring& picture, const char* what) {
  configure({picture}, L"0");
  const auto ms = bench::msToFirstPicture(scr);
  if (ms) {
    std::printf("entry to first picture painted, %-28s %8.1f ms\n", what, *ms);
  } else {
    std::printf("entry to first picture painted, %-28s not seen within 20 s\n", what);
  }
}

void printChange(const std::wstring& picture, const char* what) {
  const double change = bench::msPerChange(picture, kRounds);
  const double read = bench::msToReadFile(picture, kRounds);
  std::printf("one change, %-22s (%5.1f MB file): %7.1f ms; bare read %6.1f ms; ratio %5.1f\n", what, fileMb(picture),
              change, read, read > 0.0 ? change / read : 0.0);
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
  printFirstPicture(scr, screenBmp, "screen-sized 24-bit BMP:");
  printFirstPicture(scr, bigBmp, "4000 x 3000 24-bit BMP:");
  printChange(bigBmp, "4000 x 3000 24-bit BMP");
  printChange(bigJpeg, "4000 x 3000 JPEG");

  configure({bigBmp, bigJpeg}, L"0.3");
  const auto peak = bench::peakWorkingSetOfShow(scr, 5000);
  const double decoded = static_cast<double>(kWidth) * kHeight * 4 / kMb;
  if (peak) {
    std::printf("peak working set, 5 s show of both at 0.3 s: %7.1f MB "
                "(one decoded picture is %.1f MB; target %.1f MB)\n",
                static_cast<double>(*peak) / kMb, decoded, 2 * decoded + 16);
  } else {
    std::printf("peak working set: not available\n");
  }

  DeleteFileW(screenBmp.c_str());
  DeleteFileW(bigBmp.c_str());
  DeleteFileW(bigJpeg.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}

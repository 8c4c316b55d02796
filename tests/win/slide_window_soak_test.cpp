#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "gdi_count.h"
#include "memory_settings_store.h"
#include "process_counters.h"
#include "slideshow/slide_window.h"
#include "temp_tree.h"
#include "wait.h"
#include "win/com.h"
#include "win/gdi.h"
#include "win/handles.h"

namespace slidewell::slideshow {
namespace {

struct Usage {
  long gdiObjects;
  std::uintptr_t freshHandle;
  SIZE_T privateBytes;
};

Usage usageNow() {
  Usage usage{testing_support::liveGdiObjects(), 0, 0};
  // Wine counts no handles (its handle count is always 0), so look at the value a new handle gets: free
  // slots are used again, and handles left open push it up.
  const win::UniqueKernelHandle probe(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  usage.freshHandle = reinterpret_cast<std::uintptr_t>(probe.get());
  // The commit charge: PrivateUsage on Windows, and the figure Wine fills in (its PrivateUsage stays 0).
  usage.privateBytes = testing_support::memoryCounters().PagefileUsage;
  return usage;
}

// A long show, shortened: 2,000 changes of picture, each one painted, through a list that mixes good,
// missing and corrupt pictures. Nothing may grow once the first rounds have warmed up.
TEST(SlideWindowSoak, TwoThousandChangesLeaveNothingBehind) {
  const win::ComApartment com(COINIT_APARTMENTTHREADED);
  const testing_support::TempTree tree;
  const auto good = testing_support::solidBmpBytes(320, 240, testing_support::Rgb{40, 90, 200});
  tree.makeFile(L"good.bmp", good);
  tree.makeFile(L"corrupt.bmp", std::vector<std::uint8_t>(good.begin(), good.begin() + 500));
  tree.makeFile(L"empty.bmp", "");
  tree.makeFolder(L"folder.bmp");
  testing_support::MemorySettingsStore store;
  const std::wstring list[] = {tree.pathOf(L"good.bmp"), tree.pathOf(L"missing.bmp"), tree.pathOf(L"corrupt.bmp"),
                               tree.pathOf(L"good.bmp"), tree.pathOf(L"empty.bmp"),   tree.pathOf(L"folder.bmp"),
                               tree.pathOf(L"good.bmp"), L"Q:\\no drive.bmp"};
  constexpr int kListLength = 8;
  for (int i = 0; i < kListLength; ++i) store.save(L"Picture " + std::to_wstring(i), list[i]);
  store.save(L"temps", L"0");

  const long gdiAtStart = testing_support::liveGdiObjects();
  {
    SlideWindow window(GetModuleHandleW(nullptr), store, [] {});
    ASSERT_TRUE(window.open());
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    auto change = [&] {
      store.reads.clear();  // the test store's own record of reads must not grow either
      window.nextimg();
      ASSERT_TRUE(testing_support::waitUntil([&] { return !window.changing(); }, 5000));
      UpdateWindow(window.hwnd());  // paints now, as the message loop would
    };
    // Whole rounds of the list, so that both counts are taken on the same picture.
    for (int i = 0; i < 25 * kListLength; ++i) change();
    const Usage warm = usageNow();
    for (int i = 0; i < 225 * kListLength; ++i) change();
    const Usage after = usageNow();

    EXPECT_EQ(after.gdiObjects, warm.gdiObjects);
    EXPECT_LE(after.freshHandle, warm.freshHandle + 64 * sizeof(HANDLE));
    for (const wchar_t* name : {L"good.bmp", L"corrupt.bmp", L"empty.bmp"}) {
      EXPECT_TRUE(tree.openNowhere(name)) << "left open: " << std::wstring(name);
    }
    // One kept bitmap per change would be 300 KB x 1,800; one kept file name, about 100 KB in all.
    EXPECT_LE(after.privateBytes, warm.privateBytes + 64 * 1024)
        << "private bytes grew from " << warm.privateBytes << " to " << after.privateBytes;
    ShowWindow(window.hwnd(), SW_HIDE);
  }
  EXPECT_EQ(testing_support::liveGdiObjects(), gdiAtStart);
}

}  // namespace
}  // namespace slidewell::slideshow

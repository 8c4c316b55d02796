#include "slideshow/slide_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bmp_file.h"
#include "memory_settings_store.h"
#include "pixels.h"
#include "process_counters.h"
#include "slideshow/interval.h"
#include "temp_tree.h"
#include "wait.h"
#include "win/com.h"
#include "win/gdi.h"

namespace slidewell::slideshow {
namespace {

using testing_support::Rgb;

// The cursor's display counter as ShowCursor keeps it: below 0 it is hidden.
int cursorCount() {
  const int count = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  return count;
}

// What the window's paint routine draws, through WM_PRINTCLIENT.
class Printed {
 public:
  explicit Printed(HWND window) : pixels_(testing_support::Pixels::printedBy(window)) {}
  Rgb at(int x, int y) const { return pixels_.at(x, y); }
  // The bounds of every pixel that is not black.
  std::optional<RECT> drawn() const {
    return pixels_.boundsWhere([](Rgb c) { return c != Rgb{0, 0, 0}; });
  }

 private:
  testing_support::Pixels pixels_;
};

// Tells the window the console display's state (0 off, 1 on, 2 dimmed), as the system does.
void tellDisplay(HWND window, DWORD state) {
  // GUID_CONSOLE_DISPLAY_STATE, and its state after the setting's header.
  alignas(POWERBROADCAST_SETTING) unsigned char told[sizeof(POWERBROADCAST_SETTING) + sizeof state] = {};
  auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(told);
  setting->PowerSetting = GUID{0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
  setting->DataLength = sizeof state;
  CopyMemory(setting->Data, &state, sizeof state);
  SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

// Runs this thread's messages for `ms`.
void runMessagesFor(DWORD ms) {
  testing_support::waitUntil([] { return false; }, ms);
}

class SlideWindowTest : public testing::Test {
 protected:
  std::wstring picture(std::wstring_view name, int width, int height, Rgb colour) {
    tree.makeFile(name, testing_support::solidBmpBytes(width, height, colour));
    return tree.pathOf(name);
  }

  void list(const std::vector<std::wstring>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) store.save(L"Picture " + std::to_wstring(i), paths[i]);
  }

  // One change of picture, to its end.
  static void change(SlideWindow& window) {
    window.nextimg();
    ASSERT_TRUE(testing_support::waitUntil([&] { return !window.changing(); }, 5000));
  }

  // The picture keys read so far, in order.
  std::vector<std::wstring> pictureKeysRead() const {
    std::vector<std::wstring> keys;
    for (const auto& key : store.reads) {
      if (key.starts_with(L"Picture ")) keys.push_back(key);
    }
    return keys;
  }

  static std::optional<SIZE> sizeOf(const std::optional<RECT>& area) {
    if (!area) return std::nullopt;
    return SIZE{area->right - area->left, area->bottom - area->top};
  }

  win::ComApartment com{COINIT_APARTMENTTHREADED};
  testing_support::TempTree tree;
  testing_support::MemorySettingsStore store;
  int ends = 0;
  std::function<void()> countEnds = [this] { ++ends; };
};

TEST_F(SlideWindowTest, TheLoadHidesTheCursorAndPlacesTheFirstPictureBeforeTheWindowIsDisplayed) {
  list({picture(L"red.bmp", 30, 20, Rgb{200, 0, 0})});
  store.save(L"temps", L"0");
  const int before = cursorCount();
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  ASSERT_TRUE(window.open());
  EXPECT_EQ(cursorCount(), before - 1);
  EXPECT_FALSE(IsWindowVisible(window.hwnd()));
  const auto area = window.pictureArea();
  ASSERT_TRUE(area.has_value());
  EXPECT_EQ(area->right - area->left, 30);
  EXPECT_EQ(area->bottom - area->top, 20);
  // The first picture is read before the interval.
  EXPECT_EQ(store.reads, (std::vector<std::wstring>{L"Picture 0", L"temps"}));
}

TEST_F(SlideWindowTest, CoversTheVirtualScreenAsABorderlessTopmostWindow) {
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  ASSERT_TRUE(window.open());
  wchar_t title[16] = {};
  GetWindowTextW(window.hwnd(), title, 16);
  EXPECT_EQ(std::wstring(title), L"Form1");
  RECT area{};
  GetWindowRect(window.hwnd(), &area);
  EXPECT_EQ(area.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(area.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(area.right - area.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(area.bottom - area.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  RECT client{};
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, area.right - area.left);
  EXPECT_TRUE(GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // No configuration at all: nothing to show, and the default interval of 3 seconds.
  EXPECT_FALSE(window.pictureArea().has_value());
  EXPECT_EQ(window.period(), 3000u);
  EXPECT_EQ(Printed(window.hwnd()).drawn(), std::nullopt);
}

TEST_F(SlideWindowTest, TheTimerPeriodFollowsTheStoredInterval) {
  // The rules themselves are tested with the logic; here, that the stored text reaches the timer.
  const struct {
    const wchar_t* interval;
    std::uint32_t period;
  } cases[] = {{L"2.5", 2500}, {L"abc", 0}, {L"-5", 0}, {L"1e300", kLongestTimerPeriod}};
  for (const auto& c : cases) {
    store.save(L"temps", c.interval);
    SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
    EXPECT_EQ(window.period(), c.period) << std::string(c.interval, c.interval + wcslen(c.interval));
  }
}

TEST_F(SlideWindowTest, EachTickShowsTheNextPicture) {
  list({picture(L"a.bmp", 10, 10, Rgb{200, 0, 0}), picture(L"b.bmp", 20, 10, Rgb{0, 200, 0})});
  store.save(L"temps", L"0.02");
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  ASSERT_EQ(window.period(), 20u);
  std::vector<LONG> widths{window.pictureArea()->right - window.pictureArea()->left};
  testing_support::waitUntil(
      [&] {
        const auto area = window.pictureArea();
        if (area && area->right - area->left != widths.back()) widths.push_back(area->right - area->left);
        return widths.size() >= 4;
      },
      3000);
  EXPECT_EQ(widths, (std::vector<LONG>{10, 20, 10, 20}));
}

TEST_F(SlideWindowTest, StaysIdleBetweenChanges) {
  list({picture(L"a.bmp", 200, 150, Rgb{200, 0, 0})});
  store.save(L"temps", L"0");
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.hwnd());
  int redraws = 0;
  auto dispatchFor = [&](DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
      MSG message{};
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.hwnd == window.hwnd() && (message.message == WM_PAINT || message.message == WM_TIMER)) {
          ++redraws;
        }
        DispatchMessageW(&message);
      }
    }
  };
  dispatchFor(200);  // whatever showing the window brought
  redraws = 0;
  // How much processor the show takes meanwhile is a figure of the benchmark.
  dispatchFor(1000);
  EXPECT_EQ(redraws, 0);
  ShowWindow(window.hwnd(), SW_HIDE);
}

TEST_F(SlideWindowTest, ReadsNothingWhileTheDisplayIsOffAndGoesOnAtOnceWhenItIsBack) {
  list({picture(L"a.bmp", 10, 10, Rgb{200, 0, 0}), picture(L"b.bmp", 20, 10, Rgb{0, 200, 0}),
        picture(L"c.bmp", 30, 10, Rgb{0, 0, 200})});
  store.save(L"temps", L"0.05");
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  ASSERT_EQ(window.period(), 50u);
  const std::vector<std::wstring> cycle{L"Picture 0", L"Picture 1", L"Picture 2", L"Picture 3", L"Picture 0",
                                        L"Picture 1", L"Picture 2", L"Picture 3", L"Picture 0"};
  for (const DWORD back : {DWORD{1}, DWORD{2}}) {
    ASSERT_TRUE(testing_support::waitUntil([&] { return !window.changing(); }, 5000));
    tellDisplay(window.hwnd(), 0);
    const std::size_t readsBefore = store.reads.size();
    runMessagesFor(500);  // ten periods
    EXPECT_EQ(store.reads.size(), readsBefore) << "read while the display was off";
    tellDisplay(window.hwnd(), back);
    ASSERT_GT(store.reads.size(), readsBefore) << "nothing read at once when the display came back";
  }
  testing_support::waitUntil([&] { return pictureKeysRead().size() >= cycle.size(); }, 5000);
  auto keys = pictureKeysRead();
  keys.resize(cycle.size());
  EXPECT_EQ(keys, cycle);
  EXPECT_EQ(ends, 0);
}

TEST_F(SlideWindowTest, PaintsThePictureOneToOneOnBlack) {
  list({picture(L"a.bmp", 37, 23, Rgb{10, 200, 30})});
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  const auto area = window.pictureArea();
  ASSERT_TRUE(area.has_value());
  const Printed printed(window.hwnd());
  const auto drawn = printed.drawn();
  ASSERT_TRUE(drawn.has_value());
  EXPECT_TRUE(EqualRect(&*drawn, &*area));
  EXPECT_EQ(printed.at(area->left, area->top), (Rgb{10, 200, 30}));
  EXPECT_EQ(printed.at(area->right - 1, area->bottom - 1), (Rgb{10, 200, 30}));
}

// Each pixel of a picture larger than the window tells where in the picture it lies.
Rgb placeColour(int x, int y) {
  return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
             static_cast<std::uint8_t>(((x >> 8) << 4) | (y >> 8))};
}

TEST_F(SlideWindowTest, APictureLargerThanTheWindowIsDrawnWhereTheRulesPutItAndOnlyItsVisiblePartIsKept) {
  constexpr int kWidth = 4000;
  constexpr int kHeight = 3000;
  tree.makeFile(L"large.bmp", testing_support::bmpBytes(kWidth, kHeight, placeColour));
  list({tree.pathOf(L"large.bmp")});
  const SIZE_T before = testing_support::memoryCounters().PagefileUsage;
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  // A loaded machine may take longer to read it than the window waits before it is displayed.
  ASSERT_TRUE(testing_support::waitUntil([&] { return !window.changing(); }, 10000));
  const SIZE_T after = testing_support::memoryCounters().PagefileUsage;
  const SIZE_T kept = after > before ? after - before : 0;

  RECT client{};
  GetClientRect(window.hwnd(), &client);
  ASSERT_EQ(client.right, 1280) << "the test session's screen is 1280 x 1024";
  ASSERT_EQ(client.bottom, 1024);
  // The first two numbers of every run, 0.81472367 and 0.135476947, times the room left across and down
  // (1280 - 4000 and 1024 - 3000), each rounded to the nearest pixel.
  const LONG left = -2216;
  const LONG top = -268;
  const auto area = window.pictureArea();
  ASSERT_TRUE(area.has_value());
  const RECT expected{left, top, left + kWidth, top + kHeight};
  EXPECT_TRUE(EqualRect(&*area, &expected));

  const Printed printed(window.hwnd());
  int wrong = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) wrong += printed.at(x, y) == placeColour(x - left, y - top) ? 0 : 1;
  }
  EXPECT_EQ(wrong, 0);
  // Decoded whole, the picture alone would keep 36 MB.
  EXPECT_LT(kept, SIZE_T{kWidth} * kHeight * 3 / 2) << kept << " bytes kept";
}

TEST_F(SlideWindowTest, ChangesFollowTheListAndShowNothingForAPictureThatCannotBeLoaded) {
  list({picture(L"a.bmp", 30, 20, Rgb{200, 0, 0}), tree.pathOf(L"missing.bmp"),
        picture(L"b.bmp", 50, 40, Rgb{0, 200, 0})});
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  std::vector<std::optional<SIZE>> sizes{sizeOf(window.pictureArea())};
  for (int i = 0; i < 3; ++i) {
    change(window);
    sizes.push_back(sizeOf(window.pictureArea()));
    if (!sizes.back()) {
      EXPECT_EQ(Printed(window.hwnd()).drawn(), std::nullopt);
    }
  }
  ASSERT_EQ(sizes.size(), 4u);
  EXPECT_EQ(sizes[0]->cx, 30);
  EXPECT_FALSE(sizes[1].has_value());
  EXPECT_EQ(sizes[2]->cx, 50);
  EXPECT_EQ(sizes[3]->cx, 30);
}

TEST_F(SlideWindowTest, PlacesEveryPictureByTheWindowSize) {
  RECT client{};
  GetClientRect(GetDesktopWindow(), &client);
  list({picture(L"small.bmp", 40, 30, Rgb{200, 0, 0}),
        picture(L"large.bmp", client.right + 50, client.bottom + 40, Rgb{0, 200, 0})});
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  for (int i = 0; i < 10; ++i) {
    const auto area = window.pictureArea();
    ASSERT_TRUE(area.has_value());
    if (area->right - area->left == 40) {
      EXPECT_GE(area->left, 0);
      EXPECT_GE(area->top, 0);
      EXPECT_LE(area->right, client.right);
      EXPECT_LE(area->bottom, client.bottom);
    } else {
      // Larger than the window: a negative offset, cut at the sides, never clamped.
      EXPECT_LE(area->left, 0);
      EXPECT_LE(area->top, 0);
      EXPECT_GE(area->right, client.right);
      EXPECT_GE(area->bottom, client.bottom);
    }
    change(window);
  }
}

TEST_F(SlideWindowTest, ACharacterEndsTheShowAndOtherInputDoesNot) {
  const int before = cursorCount();
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  for (const auto& [message, key] : {std::pair<UINT, WPARAM>{WM_KEYDOWN, VK_SHIFT},
                                     {WM_KEYDOWN, VK_F1},
                                     {WM_LBUTTONDOWN, 0},
                                     {WM_LBUTTONUP, 0},
                                     {WM_RBUTTONDOWN, 0}}) {
    SendMessageW(window.hwnd(), message, key, 0);
  }
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(cursorCount(), before - 1);
  SendMessageW(window.hwnd(), WM_CHAR, L'a', 0);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(cursorCount(), before);
  // The cursor is shown once only, however often the end is asked for.
  SendMessageW(window.hwnd(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(cursorCount(), before);
}

TEST_F(SlideWindowTest, TheTwentyFirstMouseMoveEndsTheShow) {
  list({picture(L"a.bmp", 30, 20, Rgb{200, 0, 0})});
  const int before = cursorCount();
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  const RECT area = *window.pictureArea();
  for (int i = 1; i <= 20; ++i) {
    // Over the picture and over the background alike.
    const POINT at = i % 2 == 0 ? POINT{area.left + 1, area.top + 1} : POINT{area.right + 5, area.bottom + 5};
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  }
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(cursorCount(), before - 1);
  SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(area.left, area.top));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(cursorCount(), before);
}

TEST_F(SlideWindowTest, ClosedByThePlatformItShowsTheCursorAgain) {
  const int before = cursorCount();
  SlideWindow window(GetModuleHandleW(nullptr), store, countEnds);
  SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window.open());
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(cursorCount(), before);
}

}  // namespace
}  // namespace slidewell::slideshow

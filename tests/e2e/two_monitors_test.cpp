// Run on a display with two monitors side by side, of different sizes (scripts/two-monitor-display.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "harness/input.h"
#include "harness/program.h"
#include "harness/report.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "setup/dialog/dialog_layout.h"
#include "temp_tree.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

struct Monitor {
  RECT area;
  RECT work;
  bool primary;
};

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
      Monitor{info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

// The monitors as the system reports them, the primary first.
std::vector<Monitor> monitors() {
  std::vector<Monitor> list;
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&list));
  std::stable_partition(list.begin(), list.end(), [](const Monitor& each) { return each.primary; });
  return list;
}

std::string text(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " - " + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom);
}

bool contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The system's name of the monitor that shows `area`.
std::wstring monitorDevice(const RECT& area) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONULL), &info);
  return info.szDevice;
}

// Gives the monitor `device` the place and size of `area` (none: it is switched off), as the system's
// display settings do, which tell every top-level window with WM_DISPLAYCHANGE. (Wine follows a change
// made on the X side too, but tells no window of it.)
bool placeMonitor(const std::wstring& device, const RECT& area) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPosition = POINTL{area.left, area.top};
  mode.dmPelsWidth = static_cast<DWORD>(area.right - area.left);
  mode.dmPelsHeight = static_cast<DWORD>(area.bottom - area.top);
  return ChangeDisplaySettingsExW(device.c_str(), &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr) ==
             DISP_CHANGE_SUCCESSFUL &&
         ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

// While it lives the monitor showing `area` is switched off; it comes back at its place with its size
// at the end, whatever the test found, so that later tests find it.
class MonitorOff {
 public:
  explicit MonitorOff(const RECT& area) : area_(area), device_(monitorDevice(area)) {
    EXPECT_TRUE(placeMonitor(device_, RECT{}));
  }
  MonitorOff(const MonitorOff&) = delete;
  MonitorOff& operator=(const MonitorOff&) = delete;
  ~MonitorOff() { EXPECT_TRUE(placeMonitor(device_, area_)); }

 private:
  RECT area_;
  std::wstring device_;
};

class TwoMonitors : public testing::Test {
 protected:
  void SetUp() override {
    clearSettings();
    screens_ = monitors();
    ASSERT_EQ(screens_.size(), 2u) << "this test needs a display with two monitors";
  }
  void TearDown() override { clearSettings(); }

  const RECT& second() const { return screens_[1].area; }

  // A show of one red picture, small unless told, that changes place every 0.2 seconds, displayed.
  HWND startShow(RunningProgram& program, int width = 160, int height = 120) {
    const std::wstring path = folder_.pathOf(L"red.bmp");
    EXPECT_TRUE(testing_support::writeFileBytes(path, testing_support::solidBmpBytes(width, height, kRed)));
    writeSetting(L"temps", L"0.2");
    writeSetting(L"Picture 0", path);
    return program.waitForShowWindow();
  }

  std::vector<Monitor> screens_;
  testing_support::TempTree folder_;
};

TEST_F(TwoMonitors, LieSideBySideWithTheSecondSmaller) {
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
  EXPECT_EQ(second().left, screens_[0].area.right);
  EXPECT_LT(second().bottom - second().top, screens_[0].area.bottom - screens_[0].area.top);
}

TEST_F(TwoMonitors, TheDialogOpensOnThePrimaryMonitorAtItsPlace) {
  RunningProgram program(L"/c");
  const HWND dialog = program.waitForWindow(L"Screen saver", 10000);
  ASSERT_NE(dialog, nullptr);
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  EXPECT_EQ(origin.x, setup::twipsToPixels(setup::kWindow.left, 96));
  EXPECT_EQ(origin.y, setup::twipsToPixels(setup::kWindow.top, 96));
  EXPECT_EQ(MonitorFromWindow(dialog, MONITOR_DEFAULTTONULL), MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTONULL));
}

TEST_F(TwoMonitors, TheShowCoversBothAndPicturesReachTheSecondUntilAKeyEndsIt) {
  RunningProgram program(L"/s");
  const HWND window = startShow(program);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(coversVirtualScreen(window));
  CURSORINFO cursor{};
  cursor.cbSize = sizeof cursor;
  EXPECT_TRUE(GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) == 0);

  // Watched on the second monitor alone: black around the picture whenever it lies there.
  int changesSeen = 0;
  int seenThere = 0;
  std::optional<RECT> last;
  testing_support::waitUntil(
      [&] {
        const Screenshot shot = Screenshot::capture(second());
        const auto red = Screenshot::capture().boundsOf(kRed);
        if (red && (!last || !EqualRect(&*red, &*last))) ++changesSeen;
        last = red;
        if (const auto there = shot.boundsOf(kRed)) {
          ++seenThere;
          const int corner = there->left > second().left + 10 ? second().left : second().right - 1;
          EXPECT_EQ(shot.at(corner, there->top), kBlack);
        }
        return seenThere >= 3 && changesSeen >= 6;
      },
      20000);
  EXPECT_GE(seenThere, 3) << "the picture was seen on the second monitor " << seenThere << " times in " << changesSeen
                          << " changes";
  EXPECT_TRUE(program.running());

  pressKey('Q');
  EXPECT_TRUE(program.waitForExit(5000));
}

TEST_F(TwoMonitors, MovesOverBothMonitorsEndTheShowAtTheTwentyFirst) {
  const POINT onFirst{screens_[0].area.left + 40, screens_[0].area.top + 40};
  const POINT onSecond{second().left + 40, second().top + 40};
  movePointerTo(onFirst.x, onFirst.y);
  RunningProgram program(L"/s");
  ASSERT_NE(startShow(program), nullptr);
  // The window appeared under the still pointer, and the platform sent it one move for that: move 1.
  Sleep(300);
  for (int i = 2; i <= 20; ++i) {
    const POINT at = i % 2 == 0 ? onSecond : onFirst;
    movePointerTo(at.x + i, at.y);
    ASSERT_TRUE(program.running()) << "ended at move " << i;
  }
  movePointerTo(onSecond.x + 100, onSecond.y);
  EXPECT_TRUE(program.waitForExit(5000));
}

TEST_F(TwoMonitors, EveryPictureLiesWhollyOnOneMonitorAndBothGetSome) {
  RunningProgram program(L"/s");
  // Larger than a third of either monitor's width: placed anywhere in the whole window, many would
  // straddle the two or reach below the second, where no monitor shows them.
  ASSERT_NE(startShow(program, 800, 600), nullptr);

  std::vector<int> onMonitor(screens_.size());
  std::vector<std::string> elsewhere;
  std::optional<RECT> last;
  int changes = 0;
  testing_support::waitUntil(
      [&] {
        const auto box = Screenshot::capture().boundsOf(kRed);
        // One picture whole, at a new place: not the last one again, nor a change caught half drawn.
        const bool whole = box && box->right - box->left == 800 && box->bottom - box->top == 600;
        if (!whole || (last && EqualRect(&*box, &*last))) return false;
        last = box;
        ++changes;
        const auto holder = std::find_if(screens_.begin(), screens_.end(),
                                         [&](const Monitor& each) { return contains(each.area, *box); });
        if (holder == screens_.end()) {
          elsewhere.push_back(text(*box));
        } else {
          ++onMonitor[static_cast<std::size_t>(holder - screens_.begin())];
        }
        return changes >= 40;
      },
      60000);
  ASSERT_GE(changes, 40) << "too few changes seen";
  report("pictures on the first monitor", 100 * onMonitor[0] / changes, "%");
  report("pictures on the second monitor", 100 * onMonitor[1] / changes, "%");
  EXPECT_TRUE(elsewhere.empty()) << elsewhere.size() << " pictures not on one monitor, the first at "
                                 << elsewhere.front();
  EXPECT_GT(onMonitor[0], 0);
  EXPECT_GT(onMonitor[1], 0);
}

TEST_F(TwoMonitors, TheShowFollowsAMonitorSwitchedOffAndOnAgain) {
  RunningProgram program(L"/s");
  const HWND window = startShow(program);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(coversVirtualScreen(window));
  {
    const MonitorOff off(second());
    ASSERT_EQ(monitors().size(), 1u);
    EXPECT_TRUE(testing_support::waitUntil([&] { return coversVirtualScreen(window); }, 3000))
        << "the show does not cover the first monitor alone, " << text(virtualScreen());
  }
  ASSERT_EQ(monitors().size(), 2u);
  EXPECT_TRUE(testing_support::waitUntil([&] { return coversVirtualScreen(window); }, 3000))
      << "the show does not cover both monitors again, " << text(virtualScreen());
  EXPECT_TRUE(program.running());
}

}  // namespace
}  // namespace slidewell::e2e

// Run on a display with two monitors side by side, of different sizes (scripts/two-monitor-display.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <vector>

#include "harness/files.h"
#include "harness/input.h"
#include "harness/program.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "harness/wait.h"
#include "setup/dialog/dialog_layout.h"
#include "temp_tree.h"

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

std::wostream& operator<<(std::wostream& out, const RECT& rect) {
  return out << rect.left << L"," << rect.top << L" - " << rect.right << L"," << rect.bottom;
}

class TwoMonitors : public testing::Test {
 protected:
  void SetUp() override {
    clearSettings();
    screens_ = monitors();
    ASSERT_EQ(screens_.size(), 2u) << "this test needs a display with two monitors";
  }
  void TearDown() override { clearSettings(); }

  const RECT& second() const { return screens_[1].area; }

  // A show of one red picture that changes place every 0.2 seconds, displayed.
  HWND startShow(RunningProgram& program) {
    const std::wstring path = folder_.pathOf(L"red.bmp");
    EXPECT_TRUE(writeFileBytes(path, testing_support::solidBmpBytes(160, 120, kRed)));
    writeSetting(L"temps", L"0.2");
    writeSetting(L"Picture 0", path);
    return program.waitForShowWindow();
  }

  std::vector<Monitor> screens_;
  testing_support::TempTree folder_;
};

TEST_F(TwoMonitors, LieSideBySideWithTheSecondSmaller) {
  std::wcout << L"monitors: " << GetSystemMetrics(SM_CMONITORS) << L"; virtual screen "
             << GetSystemMetrics(SM_XVIRTUALSCREEN) << L"," << GetSystemMetrics(SM_YVIRTUALSCREEN) << L" "
             << GetSystemMetrics(SM_CXVIRTUALSCREEN) << L" x " << GetSystemMetrics(SM_CYVIRTUALSCREEN) << L"\n";
  for (const Monitor& each : screens_) {
    std::wcout << (each.primary ? L"primary " : L"second ") << each.area << L", work area " << each.work << L"\n";
  }
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
  waitUntil([&] {
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
  }, 20000);
  EXPECT_GE(seenThere, 3) << "the picture was seen on the second monitor " << seenThere << " times in "
                          << changesSeen << " changes";
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

}  // namespace
}  // namespace slidewell::e2e

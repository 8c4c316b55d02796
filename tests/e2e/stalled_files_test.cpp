// The show and the dialog while the file system stalls: folders named stall-forever or stall-<N>ms delay
// every file call of slidewell.scr on them, stall-within every call inside, and slow-<N>kBps lets reads
// under it bring N kilobytes a second (the preload library of tests/stall). No message is sent to the
// program's windows while they may be frozen, since a frozen window would hold the test with it.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "harness/input.h"
#include "harness/program.h"
#include "harness/report.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "harness/setup_window.h"
#include "harness/stall_log.h"
#include "png_file.h"
#include "temp_tree.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using setup::ControlId;

// Bounds wide enough for a loaded machine, far below the hour that a stalled call takes: each tells a
// window that answers from one held by a stall. What a user waits is reported as a figure.
constexpr long kWindowUpMs = 10000;  // the target is 1 s
constexpr long kEndMs = 10000;       // the target is 100 ms
// From the start of a call that never returns to the next picture: the stall bound (2 s), the watch's
// look every half second, and the next period (1 s). A slower give-up misses it.
constexpr long kGiveUpMs = 6500;

long msSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The milliseconds from the start of `program` until it shows a window; nullopt when none came.
std::optional<long> msUntilWindow(const RunningProgram& program, Clock::time_point started) {
  if (!testing_support::waitUntil([&] { return program.anyWindow() != nullptr; }, kWindowUpMs)) return std::nullopt;
  return msSince(started);
}

// The milliseconds from `end` (a key or a click) to the end of the process; nullopt when it went on.
template <typename End>
std::optional<long> msUntilEndedBy(const RunningProgram& program, End end) {
  const auto pressed = Clock::now();
  end();
  if (!program.waitForExit(kEndMs)) return std::nullopt;
  return msSince(pressed);
}

// A key ends the running show, and the cursor is shown again.
void expectKeyEndsTheShow(const RunningProgram& program, const char* figure) {
  const auto ended = msUntilEndedBy(program, [] { pressKey('Q'); });
  ASSERT_TRUE(ended.has_value()) << "a key did not end the show";
  report(figure, *ended);
  EXPECT_TRUE(cursorShowing());
}

class StalledFiles : public testing::Test {
 protected:
  void SetUp() override { clearSettings(); }
  void TearDown() override { clearSettings(); }

  // A picture, small unless told, in `folder` (made if need be) of the test's tree.
  std::wstring picture(const std::wstring& folder, const std::wstring& name, Rgb colour, int width = 60,
                       int height = 40) {
    if (!folder.empty()) CreateDirectoryW(tree_.pathOf(folder).c_str(), nullptr);
    const std::wstring path = tree_.pathOf(folder.empty() ? name : folder + L"\\" + name);
    EXPECT_TRUE(testing_support::writeFileBytes(path, testing_support::solidBmpBytes(width, height, colour)));
    return path;
  }

  static void configure(std::wstring_view interval, const std::vector<std::wstring>& paths) {
    writeSetting(L"temps", interval);
    writePictureList(paths);
  }

  // Where the dialog's browser starts: apart from the stalled folders, which a look at their parent
  // folder would already reach.
  std::wstring browserStart() const {
    CreateDirectoryW(tree_.pathOf(L"browse").c_str(), nullptr);
    return tree_.pathOf(L"browse");
  }

  // The delays noted so far on `folder` of this test's tree, and a wait for one more: how a case knows
  // that the program is inside the stall it set up.
  int delaysOn(const std::wstring& folder) const { return delaysNotedOn(logged(folder)); }
  bool awaitDelayOn(const std::wstring& folder, int before) const {
    return waitForDelayOn(logged(folder), before, kWindowUpMs);
  }

  testing_support::TempTree tree_;

 private:
  // The folder as the log writes it: a Unix path, which ends in the tree's own name and the folder's.
  std::string logged(const std::wstring& folder) const {
    const std::wstring tree = tree_.path().substr(tree_.path().find_last_of(L'\\') + 1);
    std::string text;
    for (const wchar_t c : tree + L"/" + folder) text.push_back(static_cast<char>(c));
    return text;
  }
};

TEST_F(StalledFiles, AStalledFirstPictureLetsTheShowWindowUpAndAKeyEndIt) {
  configure(L"0", {picture(L"stall-forever", L"red.bmp", kRed)});
  const int before = delaysOn(L"stall-forever");
  const auto started = Clock::now();
  RunningProgram program(L"/s");
  const auto windowUp = msUntilWindow(program, started);
  ASSERT_TRUE(windowUp.has_value()) << "no window while the first picture stalls";
  report("show window up, first picture stalled", *windowUp);

  ASSERT_TRUE(awaitDelayOn(L"stall-forever", before)) << "the first picture's read never stalled";
  EXPECT_FALSE(Screenshot::capture().boundsOf(kRed).has_value()) << "the stalled picture was shown";
  expectKeyEndsTheShow(program, "key to end of the show, first picture stalled");
}

TEST_F(StalledFiles, AKeyEndsTheShowWhileALaterPictureStallsAndThePictureBeforeStays) {
  configure(L"0.3", {picture(L"", L"red.bmp", kRed), picture(L"stall-forever", L"green.bmp", kGreen)});
  const int before = delaysOn(L"stall-forever");
  RunningProgram program(L"/s");
  ASSERT_TRUE(msUntilWindow(program, Clock::now()).has_value());
  ASSERT_TRUE(waitForColour(kRed, kWindowUpMs).has_value());
  ASSERT_TRUE(awaitDelayOn(L"stall-forever", before)) << "the change to the stalled picture never stalled";

  const Screenshot during = Screenshot::capture();
  EXPECT_TRUE(during.boundsOf(kRed).has_value()) << "the picture before the stalled one went";
  EXPECT_FALSE(during.boundsOf(kGreen).has_value()) << "the stalled picture was shown";
  expectKeyEndsTheShow(program, "key to end of the show, a later picture stalled");
}

TEST_F(StalledFiles, ASlowPictureShowsOnceReadAndTheOrderIsKept) {
  // Some eight delayed calls read it: longer than a period, shorter than the show waits for a picture.
  // A period long enough for screenshots to see every picture on a busy machine.
  configure(L"1.5", {picture(L"", L"red.bmp", kRed), picture(L"stall-120ms", L"green.bmp", kGreen),
                     picture(L"", L"blue.bmp", kBlue)});
  const int before = delaysOn(L"stall-120ms");
  RunningProgram program(L"/s");
  ASSERT_TRUE(msUntilWindow(program, Clock::now()).has_value());
  EXPECT_EQ(coloursInTurn(program, {kRed, kGreen, kBlue}, 4, 30000), (std::vector<Rgb>{kRed, kGreen, kBlue, kRed}));
  EXPECT_GT(delaysOn(L"stall-120ms"), before) << "the green picture was not read slowly";
}

TEST_F(StalledFiles, APictureThatNeverArrivesIsGivenUpForTheNext) {
  configure(L"1", {picture(L"stall-forever", L"red.bmp", kRed), picture(L"", L"green.bmp", kGreen)});
  const int before = delaysOn(L"stall-forever");
  RunningProgram program(L"/s");
  ASSERT_TRUE(awaitDelayOn(L"stall-forever", before)) << "the first picture's read never stalled";
  const auto stalled = Clock::now();
  std::vector<Rgb> seen;
  testing_support::waitUntil(
      [&] {
        const auto shown = theOneColourShown({kRed, kGreen});
        if (shown && (seen.empty() || seen.back() != *shown)) seen.push_back(*shown);
        return !seen.empty() && seen.back() == kGreen;
      },
      2 * kGiveUpMs);
  const long givenUp = msSince(stalled);
  EXPECT_EQ(seen, (std::vector<Rgb>{kGreen})) << "the show stayed with the stalled picture, or showed it";
  report("stall to the picture after it", givenUp);
  EXPECT_LE(givenUp, kGiveUpMs);
}

TEST_F(StalledFiles, ALargePictureReadSlowlyShowsOnceReadAndAKeyEndsTheShowMeanwhile) {
  // 3.6 MB at 768 kB/s: four and a half seconds of a read that never stops moving, however it is cut
  // into calls. The picture fits the screen, so the whole of it is read.
  configure(L"2", {picture(L"slow-768kBps", L"green.bmp", kGreen, 1200, 1000)});
  {
    const int before = delaysOn(L"slow-768kBps");
    RunningProgram program(L"/s");
    ASSERT_TRUE(msUntilWindow(program, Clock::now()).has_value());
    ASSERT_TRUE(awaitDelayOn(L"slow-768kBps", before)) << "the picture was not read slowly";
    EXPECT_FALSE(Screenshot::capture().boundsOf(kGreen).has_value()) << "shown before it was read";
    expectKeyEndsTheShow(program, "key to end of the show, a large picture being read slowly");
  }
  const auto started = Clock::now();
  RunningProgram program(L"/s");
  ASSERT_TRUE(waitForColour(kGreen, 20000).has_value()) << "the slowly read picture was never shown";
  report("slow read to picture", msSince(started));
}

TEST_F(StalledFiles, CancelEndsTheDialogWhileAPreviewStalls) {
  writeSetting(L"Picture 0", picture(L"stall-forever", L"red.bmp", kRed));
  SetupWindow setup(browserStart());
  ASSERT_TRUE(setup.opened());
  ASSERT_TRUE(setup.checked(ControlId::Preview));
  const int before = delaysOn(L"stall-forever");
  setup.clickEntry(ControlId::PictureList, 0);
  ASSERT_TRUE(awaitDelayOn(L"stall-forever", before)) << "the preview's read never stalled";
  EXPECT_NE(setup.previewColour(), kRed) << "the stalled picture was previewed";

  const auto ended = msUntilEndedBy(setup.program(), [&] { setup.click(ControlId::Cancel); });
  ASSERT_TRUE(ended.has_value()) << "Cancel did not end the dialog";
  report("Cancel to end of the dialog, preview stalled", *ended);
}

TEST_F(StalledFiles, CancelEndsTheDialogWhileAFolderBeingOpenedHangs) {
  const std::wstring start = browserStart();
  CreateDirectoryW((start + L"\\stall-within").c_str(), nullptr);
  SetupWindow setup(start);
  ASSERT_TRUE(setup.opened());
  const auto names = setup.entries(ControlId::Folders);
  const auto hung = std::find(names.begin(), names.end(), L"stall-within");
  ASSERT_NE(hung, names.end());
  const int before = delaysOn(L"browse/stall-within");
  setup.doubleClickEntry(ControlId::Folders, static_cast<int>(hung - names.begin()));
  ASSERT_TRUE(awaitDelayOn(L"browse/stall-within", before)) << "the folder's read never hung";

  const auto ended = msUntilEndedBy(setup.program(), [&] { setup.click(ControlId::Cancel); });
  ASSERT_TRUE(ended.has_value()) << "Cancel did not end the dialog";
  report("Cancel to end of the dialog, folder being opened hanging", *ended);
}

TEST_F(StalledFiles, AStoredFolderThatHangsLetsTheDialogUp) {
  CreateDirectoryW(tree_.pathOf(L"stall-forever").c_str(), nullptr);
  writeSetting(L"dir", tree_.pathOf(L"stall-forever"));
  const int before = delaysOn(L"stall-forever");
  const auto started = Clock::now();
  SetupWindow setup(browserStart());
  ASSERT_TRUE(setup.opened()) << "no dialog while the stored folder hangs";
  const long windowUp = msSince(started);
  report("dialog up and ready, stored folder hanging", windowUp);
  EXPECT_LE(windowUp, kWindowUpMs);
  EXPECT_GT(delaysOn(L"stall-forever"), before) << "the stored folder's read never hung";
  EXPECT_EQ(setup.folderPath(), browserStart()) << "the hung folder is skipped";
}

TEST_F(StalledFiles, APictureDeclaringFourHundredMegapixelsIsRefusedWithoutItsMemory) {
  const std::wstring huge = tree_.pathOf(L"huge.png");
  ASSERT_TRUE(testing_support::writeFileBytes(huge, testing_support::blackPngBytes(20000, 20000)));
  configure(L"0.3", {huge, picture(L"", L"red.bmp", kRed)});
  const auto started = Clock::now();
  RunningProgram program(L"/s");
  ASSERT_TRUE(msUntilWindow(program, started).has_value());
  ASSERT_TRUE(waitForColour(kRed, kWindowUpMs).has_value()) << "the show did not go on to the next picture";
  report("start to the picture after the oversized one", msSince(started));

  const win::UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.processId()));
  PROCESS_MEMORY_COUNTERS memory{};
  ASSERT_TRUE(GetProcessMemoryInfo(process.get(), &memory, sizeof memory));
  report("peak working set", static_cast<long>(memory.PeakWorkingSetSize >> 20), "MiB");
  EXPECT_LT(memory.PeakWorkingSetSize, SIZE_T{300} << 20);  // its decoded frame alone is 1.2 GB
}

}  // namespace
}  // namespace slidewell::e2e

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "harness/input.h"
#include "harness/program.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "harness/stall_log.h"
#include "picture_encoder.h"
#include "temp_tree.h"
#include "wait.h"
#include "win/com.h"

namespace slidewell::e2e {
namespace {

DWORD storedValueCount() { return static_cast<DWORD>(allSettings().size()); }

// Each case starts from no configuration and a folder of its own for the pictures.
class SlideShow : public testing::Test {
 protected:
  void SetUp() override { clearSettings(); }
  void TearDown() override { clearSettings(); }

  std::wstring picture(std::wstring_view name, int width, int height, Rgb colour) {
    const std::wstring path = folder_.pathOf(name);
    EXPECT_TRUE(testing_support::writeFileBytes(path, testing_support::solidBmpBytes(width, height, colour)));
    return path;
  }

  // A photo of one colour, stored as JPEG.
  std::wstring photo(std::wstring_view name, UINT width, UINT height, Rgb colour) {
    const win::ComApartment com(COINIT_APARTMENTTHREADED);
    std::vector<std::uint8_t> bgra;
    bgra.reserve(std::size_t{width} * height * 4);
    for (std::size_t i = 0; i < std::size_t{width} * height; ++i)
      bgra.insert(bgra.end(), {colour.b, colour.g, colour.r, 255});
    const std::wstring path = folder_.pathOf(name);
    EXPECT_TRUE(testing_support::encodePicture(path, GUID_ContainerFormatJpeg, width, height, bgra));
    return path;
  }

  static void configure(std::wstring_view interval, const std::vector<std::wstring>& paths) {
    writeSetting(L"temps", interval);
    writePictureList(paths);
  }

  testing_support::TempTree folder_;
};

TEST_F(SlideShow, CoversTheScreenInBlackWithTheFirstPictureInPlace) {
  configure(L"0", {picture(L"red.bmp", 64, 48, kRed)});
  RunningProgram program(L"/s");
  const HWND window = program.waitForShowWindow();
  ASSERT_NE(window, nullptr);

  EXPECT_TRUE(coversVirtualScreen(window));
  const auto style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  const auto red = waitForColour(kRed, 2000);
  ASSERT_TRUE(red.has_value());
  EXPECT_EQ(red->right - red->left, 64);  // one picture pixel to one screen pixel
  EXPECT_EQ(red->bottom - red->top, 48);
  const Screenshot shot = Screenshot::capture();
  long other = 0;
  for (int y = shot.top(); y < shot.top() + shot.height(); ++y) {
    for (int x = shot.left(); x < shot.left() + shot.width(); ++x) {
      const bool inPicture = x >= red->left && x < red->right && y >= red->top && y < red->bottom;
      if (shot.at(x, y) != (inPicture ? kRed : kBlack)) ++other;
    }
  }
  EXPECT_EQ(other, 0);
  EXPECT_FALSE(cursorShowing());
}

TEST_F(SlideShow, TwoRunsPutTheSamePictureAtTheSamePlace) {
  configure(L"0", {picture(L"red.bmp", 100, 80, kRed)});
  std::optional<RECT> places[2];
  for (auto& place : places) {
    RunningProgram program(L"/s");
    ASSERT_NE(program.waitForShowWindow(), nullptr);
    place = waitForColour(kRed, 2000);
    ASSERT_TRUE(place.has_value());
  }
  EXPECT_TRUE(EqualRect(&*places[0], &*places[1]));
}

TEST_F(SlideShow, ShowsThePicturesInStoredOrderAndStartsAgain) {
  // Names in Cyrillic, Chinese and an emoji: paths reach the loader as they are stored.
  // A period long enough that no picture passes between two captures of the screen on a busy machine.
  configure(L"1", {picture(L"\u043a\u0440\u0430\u0441\u043d\u044b\u0439.bmp", 60, 40, kRed),
                   picture(L"\u7eff\u8272.bmp", 50, 70, kGreen), picture(L"blue \U0001F535.bmp", 80, 30, kBlue)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  EXPECT_EQ(coloursInTurn(program, {kRed, kGreen, kBlue}, 4, 20000), (std::vector<Rgb>{kRed, kGreen, kBlue, kRed}));
  EXPECT_TRUE(program.running());
}

TEST_F(SlideShow, NoChangeShowsOnlyBlackBetweenTwoPictures) {
  // Photos larger than the screen, which take a while to decode, between bitmaps, changing quickly.
  configure(L"0.4", {photo(L"red.jpg", 1600, 1200, kRed), picture(L"green.bmp", 400, 300, kGreen),
                     photo(L"blue.jpg", 1600, 1200, kBlue), picture(L"green2.bmp", 640, 480, kGreen)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  ASSERT_TRUE(testing_support::waitUntil([] { return !Screenshot::capture().onlyBlack(); }, 5000));
  int changes = 0;
  int blackCaptures = 0;
  std::optional<Screenshot> last;
  testing_support::waitUntil(
      [&] {
        Screenshot shot = Screenshot::capture();
        if (shot.onlyBlack()) ++blackCaptures;
        if (last && !(shot == *last)) ++changes;
        last = std::move(shot);
        return changes >= 10 || !program.running();
      },
      30000);
  EXPECT_GE(changes, 10);
  EXPECT_EQ(blackCaptures, 0) << "captures of the screen with nothing but black on it";
}

TEST_F(SlideShow, APictureReadSlowlyLeavesTheOneBeforeOnScreenUntilItIsRead) {
  // 360 kB at 256 kB/s: more than a second and a half of reading.
  CreateDirectoryW(folder_.pathOf(L"slow-256kBps").c_str(), nullptr);
  configure(L"0.5", {picture(L"red.bmp", 60, 40, kRed), picture(L"slow-256kBps\\green.bmp", 400, 300, kGreen)});
  const int before = delaysNotedOn("slow-256kBps/green.bmp");
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  ASSERT_TRUE(waitForColour(kRed, 5000).has_value());
  EXPECT_EQ(sightingsUntil(program, {kRed, kGreen}, kGreen, 20000), (std::vector<Rgb>{kRed, kGreen}));
  EXPECT_GT(delaysNotedOn("slow-256kBps/green.bmp"), before) << "the green picture was not read slowly";
}

TEST_F(SlideShow, APictureThatCannotBeShownLeavesBlackForItsPeriodThenTheNextComes) {
  configure(L"1",
            {picture(L"red.bmp", 60, 40, kRed), folder_.pathOf(L"missing.bmp"), picture(L"green.bmp", 60, 40, kGreen)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  EXPECT_EQ(sightingsUntil(program, {kRed, kGreen}, kGreen, 20000), (std::vector<Rgb>{kRed, kBlack, kGreen}));
}

TEST_F(SlideShow, AnEmptyKeyEndsTheList) {
  configure(L"0.8", {picture(L"red.bmp", 60, 40, kRed), picture(L"green.bmp", 60, 40, kGreen), L"",
                     picture(L"blue.bmp", 60, 40, kBlue)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  EXPECT_EQ(coloursInTurn(program, {kRed, kGreen, kBlue}, 6, 20000),
            (std::vector<Rgb>{kRed, kGreen, kRed, kGreen, kRed, kGreen}));
}

TEST_F(SlideShow, PicturesThatCannotBeShownAreSkippedAndTheShowGoesOn) {
  const std::wstring corrupt = folder_.pathOf(L"corrupt.bmp");
  ASSERT_TRUE(testing_support::writeFileBytes(corrupt, {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  const std::wstring empty = folder_.pathOf(L"empty.bmp");
  ASSERT_TRUE(testing_support::writeFileBytes(empty, std::string_view()));
  configure(L"0.5", {picture(L"red.bmp", 60, 40, kRed), folder_.pathOf(L"missing.bmp"), corrupt, empty, folder_.path(),
                     L"Q:\\no drive\\x.bmp", picture(L"green.bmp", 60, 40, kGreen)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  EXPECT_EQ(coloursInTurn(program, {kRed, kGreen}, 4, 20000), (std::vector<Rgb>{kRed, kGreen, kRed, kGreen}));
  EXPECT_TRUE(program.running());
  EXPECT_EQ(program.windows().size(), 1u);  // no error box beside the show
}

TEST_F(SlideShow, AnIntervalOfLettersOrBelowHalfAMillisecondKeepsTheFirstPicture) {
  // 0.0005 s is 0.5 ms, which rounds to the even 0 and leaves the timer off in every build.
  for (const wchar_t* interval : {L"abc", L"0.0005"}) {
    SCOPED_TRACE(testing::Message() << "interval " << interval);
    configure(interval, {picture(L"red.bmp", 60, 40, kRed), picture(L"green.bmp", 60, 40, kGreen)});
    RunningProgram program(L"/s");
    ASSERT_NE(program.waitForShowWindow(), nullptr);
    const auto first = waitForColour(kRed, 2000);
    ASSERT_TRUE(first.has_value());
    Sleep(1500);
    const Screenshot later = Screenshot::capture();
    const auto red = later.boundsOf(kRed);
    ASSERT_TRUE(red.has_value());
    EXPECT_TRUE(EqualRect(&*first, &*red));
    EXPECT_FALSE(later.boundsOf(kGreen).has_value());
  }
}

TEST_F(SlideShow, AnIntervalOfTwoAndAHalfSecondsChangesPictureAfterThem) {
  configure(L"2.5", {picture(L"red.bmp", 60, 40, kRed), picture(L"green.bmp", 60, 40, kGreen)});
  // The timer is armed after the program starts, so its first tick comes 2.5 s after that at the
  // earliest, however slow the machine; the upper bound only tells a period from none.
  const ULONGLONG started = GetTickCount64();
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  ASSERT_TRUE(waitForColour(kRed, 10000).has_value());
  ASSERT_TRUE(waitForColour(kGreen, 20000).has_value());
  EXPECT_GE(GetTickCount64() - started, 2500u);
}

TEST_F(SlideShow, PeriodsTheTimerCannotTakeStillStartAndEndOnAKey) {
  for (const wchar_t* interval : {L"-5", L"1e300", L"&HFFFFFFFF", L"0.001"}) {
    SCOPED_TRACE(testing::Message() << "interval " << interval);
    configure(interval, {picture(L"red.bmp", 60, 40, kRed)});
    RunningProgram program(L"/s");
    ASSERT_NE(program.waitForShowWindow(), nullptr);
    ASSERT_TRUE(waitForColour(kRed, 2000).has_value());
    pressKey('Q');
    EXPECT_TRUE(endsWithCodeZero(program));
  }
}

TEST_F(SlideShow, TwentyMouseMovesKeepTheShowAndTheTwentyFirstEndsIt) {
  movePointerTo(5, 5);
  configure(L"0", {picture(L"red.bmp", 400, 300, kRed)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  const auto red = waitForColour(kRed, 2000);
  ASSERT_TRUE(red.has_value());
  // The window appeared under the still pointer, and the platform sent it one move for that: move 1.
  Sleep(300);
  const POINT overPicture{(red->left + red->right) / 2, (red->top + red->bottom) / 2};
  const POINT overBackground{red->left > 100 ? 20 : 1200, red->top > 100 ? 20 : 1000};
  for (int i = 2; i <= 20; ++i) {
    const POINT at = i % 2 == 0 ? overPicture : overBackground;
    movePointerTo(at.x + i, at.y);
    ASSERT_TRUE(program.running()) << "ended at move " << i;
  }
  clickLeft();
  Sleep(500);
  ASSERT_TRUE(program.running());
  EXPECT_FALSE(cursorShowing());

  movePointerTo(overPicture.x - 30, overPicture.y);
  EXPECT_TRUE(endsWithCodeZero(program));
  EXPECT_TRUE(cursorShowing());
}

class SlideShowKey : public SlideShow, public testing::WithParamInterface<WORD> {};

TEST_P(SlideShowKey, KeysWithoutACharacterKeepTheShowAndACharacterEndsIt) {
  configure(L"0", {picture(L"red.bmp", 60, 40, kRed)});
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  ASSERT_TRUE(waitForColour(kRed, 2000).has_value());
  for (const WORD key : {VK_SHIFT, VK_CONTROL, VK_F5, VK_LEFT, VK_DOWN}) pressKey(key);
  Sleep(300);
  ASSERT_TRUE(program.running());

  pressKey(GetParam());
  EXPECT_TRUE(endsWithCodeZero(program));
  EXPECT_TRUE(cursorShowing());
  EXPECT_EQ(storedValueCount(), 2u);  // "temps" and "Picture 0": the show wrote nothing
}

INSTANTIATE_TEST_SUITE_P(CharacterKeys, SlideShowKey,
                         testing::Values(WORD{'A'}, WORD{'7'}, WORD{VK_SPACE}, WORD{VK_RETURN}, WORD{VK_ESCAPE}));

}  // namespace
}  // namespace slidewell::e2e

#include "setup/dialog/dialog_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace slidewell::setup {
namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

TEST(TwipsToPixels, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
  // 96 DPI: 15 twips to the pixel, and every place in the layout is a whole number of pixels.
  EXPECT_EQ(twipsToPixels(1140, 96), 76);
  EXPECT_EQ(twipsToPixels(7, 96), 0);
  EXPECT_EQ(twipsToPixels(8, 96), 1);
  // 144 DPI: 10 twips to the pixel.
  EXPECT_EQ(twipsToPixels(6105, 144), 611);
  EXPECT_EQ(twipsToPixels(5234, 144), 523);
  EXPECT_EQ(twipsToPixels(-5, 144), -1);
  EXPECT_EQ(twipsToPixels(-4, 144), 0);
  // 192 DPI: 7.5 twips to the pixel.
  EXPECT_EQ(twipsToPixels(6105, 192), 814);
  EXPECT_EQ(twipsToPixels(255, 192), 34);
  EXPECT_EQ(twipsToPixels(375, 192), 50);
  EXPECT_EQ(twipsToPixels(4, 192), 1);
  EXPECT_EQ(twipsToPixels(3, 192), 0);
  // 120 DPI: 12 twips to the pixel.
  EXPECT_EQ(twipsToPixels(6105, 120), 509);
}

TEST(TwipsToPixels, ControlsThatMeetInTwipsMeetInPixels) {
  // The status bar ends on the client area's bottom edge at every DPI.
  for (const int dpi : kDpis) {
    const PixelRect bar = toPixels(control(ControlId::StatusBar).place, dpi);
    EXPECT_EQ(bar.bottom, twipsToPixels(kWindow.clientHeight, dpi)) << dpi;
    EXPECT_EQ(bar.width(), twipsToPixels(kWindow.clientWidth, dpi)) << dpi;
  }
}

TEST(DialogControls, HaveOneEntryForEveryIdAndNoIdThatEnterOrEscSend) {
  std::set<int> ids;
  std::set<std::wstring_view> names;
  for (const auto& entry : dialogControls()) {
    EXPECT_TRUE(ids.insert(static_cast<int>(entry.id)).second) << std::wstring(entry.name);
    EXPECT_TRUE(names.insert(entry.name).second);
    EXPECT_GT(static_cast<int>(entry.id), 2) << "1 and 2 are what Enter and Esc send";
    EXPECT_EQ(findControl(static_cast<int>(entry.id)), &entry);
  }
  for (int id = static_cast<int>(ControlId::ChangeLabel); id <= static_cast<int>(ControlId::Progress); ++id) {
    EXPECT_EQ(ids.count(id), 1u) << id;
  }
  EXPECT_EQ(findControl(1), nullptr);
  EXPECT_EQ(findControl(2), nullptr);
}

TEST(DialogControls, AreCreatedInTabOrderAndOnlyInputsTakeTheFocus) {
  // The Tab key follows the order of creation, so the entries that take the focus must come in their
  // tab order, 0, 1, 2...
  // Labels, the image and the two bars never take it.
  int next = 0;
  std::wstring focusable;
  for (const auto& entry : dialogControls()) {
    const bool passive = entry.kind == ControlKind::Label || entry.kind == ControlKind::Image ||
                         entry.kind == ControlKind::StatusBar || entry.kind == ControlKind::ProgressBar;
    EXPECT_EQ(entry.tabIndex.has_value(), !passive) << std::wstring(entry.name);
    if (!entry.tabIndex) continue;
    EXPECT_EQ(*entry.tabIndex, next) << std::wstring(entry.name);
    ++next;
    focusable += std::wstring(entry.name) + L" ";
  }
  EXPECT_EQ(focusable, L"temps Drive1 Dir1 File1 add remove List1 Preview Command1 Command2 ");
}

TEST(DialogControls, StayInsideTheClientAreaAtEveryDpi) {
  for (const int dpi : kDpis) {
    const int width = twipsToPixels(kWindow.clientWidth, dpi);
    const int height = twipsToPixels(kWindow.clientHeight, dpi);
    for (const auto& entry : dialogControls()) {
      const PixelRect place = toPixels(entry.place, dpi);
      EXPECT_GE(place.left, 0);
      EXPECT_GE(place.top, 0);
      EXPECT_LE(place.right, width) << dpi;
      EXPECT_LE(place.bottom, height) << dpi;
      EXPECT_GT(place.width(), 0);
      EXPECT_GT(place.height(), 0);
    }
  }
}

TEST(DialogControls, ProgressBarLiesWithinTheStatusBarAtItsRightEnd) {
  for (const int dpi : kDpis) {
    const PixelRect bar = toPixels(control(ControlId::StatusBar).place, dpi);
    const PixelRect progress = toPixels(control(ControlId::Progress).place, dpi);
    EXPECT_GE(progress.left, bar.left + bar.width() / 2) << dpi;
    EXPECT_LE(progress.right, bar.right) << dpi;
    EXPECT_GE(progress.top, bar.top) << dpi;
    EXPECT_LE(progress.bottom, bar.bottom) << dpi;
  }
}

}  // namespace
}  // namespace slidewell::setup

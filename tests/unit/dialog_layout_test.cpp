#include "setup/dialog/dialog_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace slidewell::setup {
namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

TEST(TwipsToPixels, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
  // 96 DPI: 15 twips to the pixel, and every place in the layout is a whole number of pixels; 144 DPI:
  // 10 twips to the pixel; 192 DPI: 7.5; 120 DPI: 12.
  const struct {
    int twips, dpi, pixels;
  } cases[] = {{1140, 96, 76}, {7, 96, 0},   {8, 96, 1},       {6105, 144, 611}, {5234, 144, 523},
               {-5, 144, -1},  {-4, 144, 0}, {6105, 192, 814}, {255, 192, 34},   {375, 192, 50},
               {4, 192, 1},    {3, 192, 0},  {6105, 120, 509}};
  for (const auto& c : cases) EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(TwipsToPixels, ControlsThatMeetInTwipsMeetInPixels) {
  // The status bar ends on the client area's bottom edge at every DPI.
  for (const int dpi : kDpis) {
    const PixelRect bar = toPixels(layoutOf(ControlId::StatusBar).place, dpi);
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

bool intersect(const PixelRect& a, const PixelRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(DialogControls, NoControlLiesOverALabelOrWhereItsTextMayRun) {
  for (const int dpi : kDpis) {
    for (const auto& label : dialogControls()) {
      if (label.kind != ControlKind::Label) continue;
      const PixelRect text = toPixels(windowPlace(label), dpi);
      EXPECT_GE(text.right, toPixels(label.place, dpi).right) << std::wstring(label.name);
      EXPECT_LE(text.right, twipsToPixels(kWindow.clientWidth, dpi)) << std::wstring(label.name);
      for (const auto& other : dialogControls()) {
        if (&other == &label) continue;
        EXPECT_FALSE(intersect(text, toPixels(windowPlace(other), dpi)))
            << std::wstring(label.name) << " and " << std::wstring(other.name) << " at " << dpi;
      }
    }
  }
}

// What a screen reader calls each control that takes the focus, by the platform's rule: the caption of
// a label directly before it in the window order, else the name it is given, else its own caption.
TEST(DialogControls, EveryControlThatTakesTheFocusHasANameThatSaysWhatItIsFor) {
  std::wstring names;
  const auto table = dialogControls();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!table[i].tabIndex) continue;
    const bool labelled = i > 0 && table[i - 1].kind == ControlKind::Label;
    EXPECT_FALSE(labelled && table[i].accessibleName) << std::wstring(table[i].name) << " is named twice";
    const std::wstring_view name = labelled ? table[i - 1].caption : table[i].accessibleName.value_or(table[i].caption);
    names += std::wstring(table[i].name) + L": " + std::wstring(name) + L"\n";
  }
  EXPECT_EQ(names,
            L"temps: Change picture every :\nDrive1: Drive\nDir1: Folder\nFile1: Pictures in this folder\n"
            L"add: Add\nremove: Remove\nList1: Pictures to show :\nPreview: Preview\nCommand1: OK\n"
            L"Command2: Cancel\n");
}

TEST(DialogControls, ProgressBarLiesWithinTheStatusBarAtItsRightEnd) {
  for (const int dpi : kDpis) {
    const PixelRect bar = toPixels(layoutOf(ControlId::StatusBar).place, dpi);
    const PixelRect progress = toPixels(layoutOf(ControlId::Progress).place, dpi);
    EXPECT_GE(progress.left, bar.left + bar.width() / 2) << dpi;
    EXPECT_LE(progress.right, bar.right) << dpi;
    EXPECT_GE(progress.top, bar.top) << dpi;
    EXPECT_LE(progress.bottom, bar.bottom) << dpi;
  }
}

}  // namespace
}  // namespace slidewell::setup

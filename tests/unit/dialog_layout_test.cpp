#include "setup/dialog/dialog_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <string_view>

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

// Every control as the dialog shows it at 96 DPI (15 twips to the pixel) and at 144 DPI (10 twips to the
// pixel, halves away from zero), worked out by hand from its twips: left and top edges, then right and
// bottom edges, each edge converted on its own. Three places were changed so that every caption reads
// whole in every default font and no control lies over a label:
// - CHan (0, 120, 255 high) spans 1785 twips rather than 1695: right-aligned, its text then ends one
//   pixel at 96 DPI before `temps` (1800), and a caption wider than 1695 twips is not cut at its start.
// - Label1 (2280, 120, 255 high) is 1080 twips wide rather than 615, running on to 3360, the column of
//   "Add" and "Remove": nothing else lies in the first row to its right.
// - t (120, 2520, 1455 wide) is 240 high rather than 255, ending where List1 begins (2760) instead of
//   15 twips inside it.
struct ShownControl {
  std::wstring_view name;
  PixelRect at96;
  PixelRect at144;
  std::wstring_view caption;
  std::optional<std::wstring_view> help;  // nullopt: moving over it leaves the help line as it is
};

// clang-format off
constexpr ShownControl kShown[] = {
  {L"CHan",       {0, 8, 119, 25},      {0, 12, 179, 38},     L"Change picture every :", L"Time between two pictures"},
  {L"temps",      {120, 8, 145, 27},    {180, 12, 218, 41},   L"3",                      L"Time between two pictures"},
  {L"Label1",     {152, 8, 224, 25},    {228, 12, 336, 38},   L"seconds",                L"Time between two pictures"},
  {L"Drive1",     {8, 32, 161, 53},     {12, 48, 242, 80},    L"",                       std::nullopt},
  {L"Dir1",       {8, 56, 161, 133},    {12, 84, 242, 200},   L"",                       L"Picture's folder"},
  {L"File1",      {168, 32, 305, 127},  {252, 48, 458, 191},  L"",                       L"Please select your picture"},
  {L"add",        {224, 128, 305, 153}, {336, 192, 458, 230}, L"Add",                    L"Click here to add the selected picture"},
  {L"remove",     {224, 160, 305, 185}, {336, 240, 458, 278}, L"Remove",                 L"Click here to remove the selected picture in the list"},
  {L"picture1",   {320, 112, 401, 177}, {480, 168, 602, 266}, L"",                       L"Preview of the picture"},
  {L"t",          {8, 168, 105, 184},   {12, 252, 158, 276},  L"Pictures to show :",     std::nullopt},
  {L"List1",      {8, 184, 305, 305},   {12, 276, 458, 458},  L"",                       L"Pictures to show when the Screen saver is active"},
  {L"Preview",    {320, 184, 401, 201}, {480, 276, 602, 302}, L"Preview",                L"Click here to see the selected picture"},
  {L"Command1",   {320, 256, 401, 281}, {480, 384, 602, 422}, L"OK",                     L"Save configuration and quit"},
  {L"Command2",   {320, 288, 401, 313}, {480, 432, 602, 470}, L"Cancel",                 L"Quit without saving"},
  {L"StatusBar1", {0, 320, 407, 349},   {0, 480, 611, 524},   L"",                       std::nullopt},
  {L"progress",   {312, 328, 401, 345}, {468, 492, 602, 518}, L"",                       std::nullopt},
};
// clang-format on

std::wstring describe(const PixelRect& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" - " + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

std::wstring helpText(std::optional<std::wstring_view> help) {
  return help ? L"\"" + std::wstring(*help) + L"\"" : L"(leaves the line as it is)";
}

TEST(DialogLayout, EveryControlHasItsPlaceCaptionAndHelpAt96And144Dpi) {
  EXPECT_EQ(kWindow.caption, L"Screen saver");
  EXPECT_EQ(kWindow.backgroundHelp, L"");
  // The client area's place on the screen and its size.
  const struct { int dpi, left, top, width, height; } windows[] = {{96, 76, 101, 407, 349}, {144, 114, 152, 611, 524}};
  for (const auto& window : windows) {
    EXPECT_EQ(twipsToPixels(kWindow.left, window.dpi), window.left) << window.dpi;
    EXPECT_EQ(twipsToPixels(kWindow.top, window.dpi), window.top) << window.dpi;
    EXPECT_EQ(twipsToPixels(kWindow.clientWidth, window.dpi), window.width) << window.dpi;
    EXPECT_EQ(twipsToPixels(kWindow.clientHeight, window.dpi), window.height) << window.dpi;
  }

  const auto table = dialogControls();
  std::set<std::wstring_view> unmatched;
  for (const auto& entry : table) unmatched.insert(entry.name);
  for (const ShownControl& shown : kShown) {
    const std::wstring name(shown.name);
    const auto entry =
        std::find_if(table.begin(), table.end(), [&](const ControlLayout& each) { return each.name == shown.name; });
    ASSERT_NE(entry, table.end()) << name;
    unmatched.erase(shown.name);
    EXPECT_EQ(describe(toPixels(windowPlace(*entry), 96)), describe(shown.at96)) << name << " at 96 DPI";
    EXPECT_EQ(describe(toPixels(windowPlace(*entry), 144)), describe(shown.at144)) << name << " at 144 DPI";
    EXPECT_EQ(std::wstring(entry->caption), std::wstring(shown.caption)) << name;
    EXPECT_EQ(helpText(entry->help), helpText(shown.help)) << name;
  }
  for (const std::wstring_view name : unmatched) ADD_FAILURE() << std::wstring(name) << " is not written out here";
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

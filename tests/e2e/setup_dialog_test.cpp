#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "harness/accessibility.h"
#include "harness/controls.h"
#include "harness/dialog_case.h"
#include "harness/display.h"
#include "harness/input.h"
#include "harness/owner_window.h"
#include "harness/program.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "harness/setup_window.h"
#include "setup/dialog/dialog_layout.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

using setup::ControlId;
using setup::ControlKind;
using setup::ControlLayout;
using setup::dialogControls;

constexpr DWORD kExitTimeoutMs = 5000;
// How long a key or a move is given to have an effect that must not happen.
constexpr DWORD kSettleMs = 300;

std::wstring nameOf(const ControlLayout& layout) { return std::wstring(layout.name); }

std::wstring expectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return L"Static";
    case ControlKind::TextBox:
      return L"Edit";
    case ControlKind::DriveList:
      return L"ComboBox";
    case ControlKind::FolderList:
    case ControlKind::FileList:
    case ControlKind::ListBox:
      return L"ListBox";
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
      return L"Button";
    case ControlKind::Image:
      return L"SlidewellPreviewImage";
    case ControlKind::StatusBar:
      return STATUSCLASSNAMEW;
    case ControlKind::ProgressBar:
      return PROGRESS_CLASSW;
  }
  return L"";
}

// A configuration that a run which writes nothing leaves exactly as it was; what the store then holds.
std::map<std::wstring, std::wstring> storeSomeConfiguration() {
  clearSettings();
  writePictureList({L"C:\\pictures\\one.bmp", L"C:\\pictures\\two.bmp"});
  writeSetting(L"temps", L"12");
  writeSetting(L"dir", L"C:\\pictures");
  return allSettings();
}

// The setup dialog of slidewell.scr started with "/c", open and ready for input.
class SetupDialogTest : public DialogCase {
 protected:
  void open(std::wstring_view arguments = L"/c") {
    setup = std::make_unique<SetupWindow>(std::wstring(), arguments);
    ASSERT_TRUE(setup->opened());
    dialog = setup->window();
  }

  HWND control(ControlId id) const { return controlOf(dialog, id); }
  std::wstring helpLine() const { return windowText(control(ControlId::StatusBar)); }

  // Presses Tab until the focus is on `id`, at most once round the dialog.
  void focus(ControlId id) {
    for (int i = 0; i < 12 && focusOf(dialog) != control(id); ++i) pressKey(VK_TAB);
    ASSERT_EQ(focusOf(dialog), control(id));
  }

  void expectEndsWithoutWriting(const std::map<std::wstring, std::wstring>& before) {
    EXPECT_TRUE(endsWithCodeZero(setup->program(), kExitTimeoutMs));
    EXPECT_EQ(allSettings(), before);
  }

  std::unique_ptr<SetupWindow> setup;
  HWND dialog = nullptr;
};

// The window and every control at its place, at 100 % and at another DPI that Wine takes from the
// registry when a program starts.
class SetupDialogLayoutTest : public SetupDialogTest, public testing::WithParamInterface<int> {};

TEST_P(SetupDialogLayoutTest, WindowAndEveryControlSitWhereTheTableSays) {
  const int dpi = GetParam();
  {
    const ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
    ASSERT_NO_FATAL_FAILURE(open());
  }
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, setup::twipsToPixels(setup::kWindow.clientWidth, dpi));
  EXPECT_EQ(client.bottom, setup::twipsToPixels(setup::kWindow.clientHeight, dpi));
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  EXPECT_EQ(origin.x, setup::twipsToPixels(setup::kWindow.left, dpi));
  EXPECT_EQ(origin.y, setup::twipsToPixels(setup::kWindow.top, dpi));

  for (const ControlLayout& layout : dialogControls()) {
    const HWND each = control(layout.id);
    ASSERT_NE(each, nullptr) << nameOf(layout);
    EXPECT_EQ(GetParent(each), dialog) << nameOf(layout);
    const RECT actual = rectInClient(dialog, each);
    const setup::PixelRect expected = setup::toPixels(setup::windowPlace(layout), dpi);
    EXPECT_EQ((setup::PixelRect{actual.left, actual.top, actual.right, actual.bottom}), expected)
        << nameOf(layout) << " at " << dpi << " DPI: " << actual.left << "," << actual.top << " - " << actual.right
        << "," << actual.bottom;
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, SetupDialogLayoutTest, testing::Values(96, 144));

TEST_F(SetupDialogTest, HasAFixedFrameWithTheCloseBoxOnly) {
  ASSERT_NO_FATAL_FAILURE(open());
  const LONG_PTR style = styleOf(dialog);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(SetupDialogTest, ControlsOpenWithTheirKindCaptionAndInitialSettings) {
  ASSERT_NO_FATAL_FAILURE(open());
  for (const ControlLayout& layout : dialogControls()) {
    const HWND each = control(layout.id);
    ASSERT_NE(each, nullptr) << nameOf(layout);
    EXPECT_EQ(classNameOf(each), expectedClass(layout.kind)) << nameOf(layout);
    // The drive list shows the current drive as its text.
    if (layout.kind != ControlKind::DriveList) {
      EXPECT_EQ(windowText(each), std::wstring(layout.caption)) << nameOf(layout);
    }
    EXPECT_EQ(IsWindowEnabled(each) != FALSE, layout.enabled) << nameOf(layout);
    EXPECT_EQ(IsWindowVisible(each) != FALSE, layout.visible) << nameOf(layout);
    const LONG_PTR style = styleOf(each);
    switch (layout.kind) {
      case ControlKind::Label:
        EXPECT_EQ((style & SS_TYPEMASK) == SS_RIGHT, layout.rightAligned) << nameOf(layout);
        break;
      case ControlKind::DriveList:
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        break;
      case ControlKind::FolderList:
      case ControlKind::FileList:
      case ControlKind::ListBox:
        EXPECT_TRUE(style & LBS_NOTIFY) << nameOf(layout);
        // The browser's lists show where it starts; the picture list is empty on a first run.
        if (layout.kind == ControlKind::ListBox) {
          EXPECT_EQ(SendMessageW(each, LB_GETCOUNT, 0, 0), 0) << nameOf(layout);
        }
        break;
      case ControlKind::PushButton:
        // Not the default button: Enter does not press it.
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << nameOf(layout);
        break;
      case ControlKind::CheckBox:
        EXPECT_EQ(SendMessageW(each, BM_GETCHECK, 0, 0), layout.checked ? BST_CHECKED : BST_UNCHECKED);
        break;
      case ControlKind::Image:
        EXPECT_TRUE(style & WS_BORDER);
        break;
      case ControlKind::ProgressBar:
        EXPECT_EQ(SendMessageW(each, PBM_GETPOS, 0, 0), 0);
        break;
      case ControlKind::TextBox:
      case ControlKind::StatusBar:
        break;
    }
  }
}

TEST_F(SetupDialogTest, ThePictureListsTopEdgeStaysWholeUnderItsLabel) {
  ASSERT_NO_FATAL_FAILURE(open());
  // "Pictures to show :" ends where the picture list begins and draws nothing over its edge.
  const RECT label = rectInClient(dialog, control(ControlId::ListLabel));
  const RECT list = rectInClient(dialog, control(ControlId::PictureList));
  ASSERT_EQ(label.bottom, list.top);
  POINT underLabel{label.left + 4, list.top};
  POINT pastLabel{label.right + 4, list.top};
  ClientToScreen(dialog, &underLabel);
  ClientToScreen(dialog, &pastLabel);
  Rgb under{}, past{};
  EXPECT_TRUE(testing_support::waitUntil(
      [&] {
        const Screenshot shot = Screenshot::capture();
        under = shot.at(underLabel.x, underLabel.y);
        past = shot.at(pastLabel.x, pastLabel.y);
        return under == past;
      },
      2000))
      << "the list's edge is " << int{past.r} << "," << int{past.g} << "," << int{past.b} << " but under the label "
      << int{under.r} << "," << int{under.g} << "," << int{under.b};
}

// What each control that takes the focus is called by a screen reader: its label's caption, the name
// the dialog gives it, or its own caption. Where the accessibility layer does not tell (Wine's reads
// labels for text boxes only, and its property service takes no names), what it would read is checked
// instead: the label directly before the control in the window order, or no label there to misname it.
TEST_F(SetupDialogTest, ScreenReadersCallEveryInputByWhatItIsFor) {
  ASSERT_NO_FATAL_FAILURE(open());
  const std::vector<std::pair<ControlId, std::wstring>> names{{ControlId::Interval, L"Change picture every :"},
                                                              {ControlId::Drives, L"Drive"},
                                                              {ControlId::Folders, L"Folder"},
                                                              {ControlId::Files, L"Pictures in this folder"},
                                                              {ControlId::Add, L"Add"},
                                                              {ControlId::Remove, L"Remove"},
                                                              {ControlId::PictureList, L"Pictures to show :"},
                                                              {ControlId::Preview, L"Preview"},
                                                              {ControlId::Ok, L"OK"},
                                                              {ControlId::Cancel, L"Cancel"}};
  for (const auto& [id, name] : names) {
    const auto announced = accessibleName(control(id));
    if (announced == name) continue;
    const HWND before = GetWindow(control(id), GW_HWNDPREV);
    if (setup::layoutOf(id).accessibleName) {
      EXPECT_FALSE(propertyServiceTakesNames()) << name << " is announced as " << announced.value_or(L"nothing");
      EXPECT_NE(classNameOf(before), L"Static") << name;
    } else {
      EXPECT_EQ(classNameOf(before), L"Static") << name;
      EXPECT_EQ(windowText(before), name);
    }
  }
}

TEST_F(SetupDialogTest, TabVisitsTheInputsInOrderAndSkipsDisabledButtons) {
  ASSERT_NO_FATAL_FAILURE(open());
  const std::vector<ControlId> cycle{ControlId::Interval, ControlId::Drives,      ControlId::Folders,
                                     ControlId::Files,    ControlId::PictureList, ControlId::Preview,
                                     ControlId::Ok,       ControlId::Cancel,      ControlId::Interval};
  for (std::size_t i = 1; i < cycle.size(); ++i) {
    pressKey(VK_TAB);
    EXPECT_TRUE(testing_support::waitUntil([&] { return focusOf(dialog) == control(cycle[i]); }, 2000))
        << "after Tab number " << i << " the focus is on id " << GetDlgCtrlID(focusOf(dialog));
  }
  for (std::size_t i = cycle.size() - 1; i-- > 0;) {
    pressKeyWithShift(VK_TAB);
    EXPECT_TRUE(testing_support::waitUntil([&] { return focusOf(dialog) == control(cycle[i]); }, 2000))
        << "Shift+Tab back to position " << i;
  }
}

class EscFrom : public SetupDialogTest, public testing::WithParamInterface<ControlId> {};

TEST_P(EscFrom, EndsTheProgramWritingNothing) {
  const auto before = storeSomeConfiguration();
  ASSERT_NO_FATAL_FAILURE(open());
  ASSERT_NO_FATAL_FAILURE(focus(GetParam()));
  pressKey(VK_ESCAPE);
  expectEndsWithoutWriting(before);
}

INSTANTIATE_TEST_SUITE_P(Controls, EscFrom,
                         testing::Values(ControlId::Interval, ControlId::Drives, ControlId::Folders,
                                         ControlId::PictureList, ControlId::Preview, ControlId::Ok));

TEST_F(SetupDialogTest, EscOnAFirstRunLeavesTheStoreEmpty) {
  ASSERT_NO_FATAL_FAILURE(open());
  pressKey(VK_ESCAPE);
  expectEndsWithoutWriting({});
}

TEST_F(SetupDialogTest, EnterPressesNothingClosesNothingAndSavesNothingWhereverTheFocusIs) {
  const auto before = storeSomeConfiguration();
  ASSERT_NO_FATAL_FAILURE(open());
  for (const ControlLayout& layout : dialogControls()) {
    if (!layout.tabIndex || !layout.enabled) continue;
    ASSERT_NO_FATAL_FAILURE(focus(layout.id));
    pressKey(VK_RETURN);
    Sleep(kSettleMs);
    ASSERT_TRUE(setup->program().running()) << "Enter on " << nameOf(layout);
    EXPECT_EQ(allSettings(), before) << "Enter on " << nameOf(layout);
    EXPECT_EQ(focusOf(dialog), control(layout.id)) << "Enter on " << nameOf(layout);
  }
}

TEST_F(SetupDialogTest, ClickingCancelEndsTheProgramWritingNothing) {
  const auto before = storeSomeConfiguration();
  ASSERT_NO_FATAL_FAILURE(open());
  const POINT cancel = centreOf(control(ControlId::Cancel));
  movePointerTo(cancel.x, cancel.y);
  clickLeft();
  expectEndsWithoutWriting(before);
}

TEST_F(SetupDialogTest, TheCloseBoxEndsTheProgramWritingNothing) {
  const auto before = storeSomeConfiguration();
  ASSERT_NO_FATAL_FAILURE(open());
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  expectEndsWithoutWriting(before);
}

// "/c:NNNN" names the window that asked for the dialog: the dialog is its own, in the place the table
// gives, and keeps it disabled until the dialog ends, whichever way it ends.
enum class Ending { Ok, Cancel, Esc, CloseBox };

void PrintTo(Ending ending, std::ostream* out) {
  constexpr const char* kNames[] = {"OK", "Cancel", "Esc", "the close box"};
  *out << kNames[static_cast<int>(ending)];
}

class OwnedDialogTest : public SetupDialogTest, public testing::WithParamInterface<Ending> {
 protected:
  void end(Ending ending) {
    switch (ending) {
      case Ending::Ok:
        return setup->click(ControlId::Ok);
      case Ending::Cancel:
        return setup->click(ControlId::Cancel);
      case Ending::Esc:
        return pressKey(VK_ESCAPE);
      case Ending::CloseBox:
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
  }
};

TEST_P(OwnedDialogTest, BelongsToTheAskingWindowAndDisablesItUntilItEnds) {
  const OwnerWindow owner;
  ASSERT_NE(owner.hwnd(), nullptr);
  ASSERT_NO_FATAL_FAILURE(open(owner.setupArguments()));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.hwnd());
  EXPECT_FALSE(IsWindowEnabled(owner.hwnd()));
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  EXPECT_EQ(origin.x, setup::twipsToPixels(setup::kWindow.left, 96));
  EXPECT_EQ(origin.y, setup::twipsToPixels(setup::kWindow.top, 96));
  end(GetParam());
  EXPECT_TRUE(endsWithCodeZero(setup->program(), kExitTimeoutMs));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

INSTANTIATE_TEST_SUITE_P(Endings, OwnedDialogTest,
                         testing::Values(Ending::Ok, Ending::Cancel, Ending::Esc, Ending::CloseBox));

// A number that names no window, as any other text after "/c", opens the dialog as "/c" alone does.
TEST_F(SetupDialogTest, ANumberNamingNoWindowLeavesTheDialogUnowned) {
  ASSERT_NO_FATAL_FAILURE(open(L"/c:1"));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
}

// The help line follows the pointer.
class HelpLineTest : public SetupDialogTest {
 protected:
  void moveOver(ControlId id) {
    const POINT centre = centreOf(control(id));
    movePointerTo(centre.x, centre.y);
  }
  void moveOverBackground() {
    // Right of the file list and above the image: no control there.
    const POINT point = screenPointAt(dialog, 5300, 1000, 96);
    movePointerTo(point.x, point.y);
  }
  void expectLine(const std::wstring& text) {
    EXPECT_TRUE(testing_support::waitUntil([&] { return helpLine() == text; }, 2000))
        << "expected \"" << text << "\", the line shows \"" << helpLine() << "\"";
  }
  void expectLineStays(const std::wstring& text) {
    Sleep(kSettleMs);
    EXPECT_EQ(helpLine(), text);
  }
};

TEST_F(HelpLineTest, ShowsTheTextOfEachControlUnderThePointer) {
  ASSERT_NO_FATAL_FAILURE(open());
  EXPECT_EQ(helpLine(), L"");
  for (const ControlLayout& layout : dialogControls()) {
    if (!layout.help || !layout.enabled || !layout.visible) continue;
    moveOverBackground();
    expectLine(L"");
    moveOver(layout.id);
    expectLine(std::wstring(*layout.help));
  }
}

TEST_F(HelpLineTest, ClearsOverTheBackgroundAndKeepsItsTextOverControlsWithoutHelp) {
  ASSERT_NO_FATAL_FAILURE(open());
  EXPECT_EQ(helpLine(), L"");
  moveOver(ControlId::Interval);
  expectLine(L"Time between two pictures");
  moveOver(ControlId::SecondsLabel);
  expectLineStays(L"Time between two pictures");
  moveOverBackground();
  expectLine(L"");
  moveOver(ControlId::Files);
  expectLine(L"Please select your picture");
  moveOver(ControlId::Drives);
  expectLineStays(L"Please select your picture");
  moveOver(ControlId::ListLabel);
  expectLineStays(L"Please select your picture");
  moveOver(ControlId::StatusBar);
  expectLineStays(L"Please select your picture");
}

TEST_F(HelpLineTest, ADisabledButtonTakesNoMouseInputSoThePointerIsOverTheBackground) {
  ASSERT_NO_FATAL_FAILURE(open());
  ASSERT_FALSE(IsWindowEnabled(control(ControlId::Add)));
  moveOver(ControlId::Files);
  expectLine(L"Please select your picture");
  moveOver(ControlId::Add);
  expectLine(L"");
  moveOver(ControlId::Preview);
  expectLine(L"Click here to see the selected picture");
  moveOver(ControlId::Remove);
  expectLine(L"");
}

}  // namespace
}  // namespace slidewell::e2e

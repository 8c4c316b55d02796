#include "setup/dialog/setup_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gdi_count.h"
#include "memory_settings_store.h"
#include "setup/dialog/dialog_layout.h"
#include "test_parent.h"
#include "win/platform.h"

namespace slidewell::setup {
namespace {

LOGFONTW fontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

PixelRect placeInDialog(HWND dialog, HWND control) {
  const RECT rect = testing_support::rectInClient(dialog, control);
  return PixelRect{rect.left, rect.top, rect.right, rect.bottom};
}

LRESULT CALLBACK countTextWrites(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count) {
  if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(window, message, wParam, lParam);
}

// What the progress bar is told and when it draws: "value N" for each value it is given, "drawn" for each
// paint.
LRESULT CALLBACK recordProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR log) {
  auto& lines = *reinterpret_cast<std::vector<std::wstring>*>(log);
  if (message == PBM_SETPOS) lines.push_back(L"value " + std::to_wstring(wParam));
  if (message == WM_PAINT) lines.push_back(L"drawn");
  return DefSubclassProc(window, message, wParam, lParam);
}

// The dialog in this process over a store in memory, created but not shown, and no message loop.
class SetupDialogWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    store.values = {{L"Picture 0", L"C:\\a.bmp"}, {L"Picture 1", L"C:\\b.bmp"}, {L"temps", L"7"}};
    dialog.emplace(GetModuleHandleW(nullptr), store, [this] { ++ends; });
    ASSERT_TRUE(dialog->create());
  }

  HWND control(ControlId id) const { return dialog->control(id); }

  void expectFontFor(UINT dpi) {
    for (const ControlLayout& layout : dialogControls()) {
      // These two show no text.
      if (layout.kind == ControlKind::ProgressBar || layout.kind == ControlKind::Image) continue;
      const LOGFONTW font = fontOf(control(layout.id));
      EXPECT_EQ(std::wstring(font.lfFaceName), L"MS Shell Dlg") << std::wstring(layout.name);
      EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(dpi), 72)) << std::wstring(layout.name);
    }
  }

  void press(ControlId id) const {
    SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(static_cast<int>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(id)));
  }

  testing_support::MemorySettingsStore store;
  int ends = 0;
  std::optional<SetupDialog> dialog;
};

TEST_F(SetupDialogWindowTest, OkSavesTheWholeConfigurationThenEnds) {
  SendMessageW(control(ControlId::PictureList), LB_DELETESTRING, 0, 0);
  SetWindowTextW(control(ControlId::Interval), L"12");
  press(ControlId::Ok);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(store.values[L"Picture 0"], L"C:\\b.bmp");
  EXPECT_EQ(store.values[L"Picture 1"], L"");
  EXPECT_EQ(store.values[L"Picture 100"], L"");
  EXPECT_EQ(store.values[L"temps"], L"12");
  EXPECT_EQ(store.values.count(L"dir"), 1u);
  EXPECT_EQ(store.values.count(L"drive"), 1u);
}

// The save runs in one go on the window's thread, so the bar must be drawn at each step, not when the
// thread is next free: by then the program has ended.
TEST_F(SetupDialogWindowTest, OkDrawsTheProgressBarAtEveryValueItGivesIt) {
  ShowWindow(dialog->hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(dialog->hwnd());
  const HWND bar = control(ControlId::Progress);
  std::vector<std::wstring> log;
  ASSERT_TRUE(SetWindowSubclass(bar, recordProgress, 1, reinterpret_cast<DWORD_PTR>(&log)));
  press(ControlId::Ok);
  RemoveWindowSubclass(bar, recordProgress, 1);
  ShowWindow(dialog->hwnd(), SW_HIDE);

  // The values in the order given, each repetition of the last one dropped as there is nothing new to
  // draw; and one letter per step: "v" for a new value, "d" when the bar was drawn before the next one.
  std::vector<std::wstring> values;
  std::wstring steps;
  for (const std::wstring& line : log) {
    if (line == L"drawn") {
      if (!steps.empty() && steps.back() == L'v') steps += L'd';
    } else if (values.empty() || values.back() != line) {
      values.push_back(line);
      steps += L'v';
    }
  }
  // Two entries, 1 and 2; 2 again for the first free key, then 3 to 100.
  ASSERT_EQ(values.size(), 100u);
  EXPECT_EQ((std::vector<std::wstring>(values.begin(), values.begin() + 3)),
            (std::vector<std::wstring>{L"value 1", L"value 2", L"value 3"}));
  EXPECT_EQ(values.back(), L"value 100");
  std::wstring everyStepDrawn;
  for (int i = 0; i < 100; ++i) everyStepDrawn += L"vd";
  EXPECT_EQ(steps, everyStepDrawn);
}

TEST_F(SetupDialogWindowTest, CancelEscAndTheCloseBoxEndWithoutWriting) {
  const auto before = store.values;
  press(ControlId::Cancel);
  SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  SendMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ends, 3);
  EXPECT_EQ(store.values, before);
  EXPECT_TRUE(IsWindow(dialog->hwnd()));
}

TEST_F(SetupDialogWindowTest, EveryControlHasTheDialogFontAtTheWindowsDpi) {
  expectFontFor(win::windowDpi(dialog->hwnd()));
}

TEST_F(SetupDialogWindowTest, FollowsAMoveToAMonitorOfAnotherDpi) {
  const long gdiObjects = testing_support::liveGdiObjects();
  for (const UINT dpi : {144u, 192u, 96u}) {
    RECT suggested{300, 200, 1100, 900};
    SendMessageW(dialog->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

    RECT frame{};
    GetWindowRect(dialog->hwnd(), &frame);
    EXPECT_EQ(frame.left, 300);
    EXPECT_EQ(frame.top, 200);
    for (const ControlLayout& layout : dialogControls()) {
      EXPECT_EQ(placeInDialog(dialog->hwnd(), control(layout.id)), toPixels(windowPlace(layout), static_cast<int>(dpi)))
          << std::wstring(layout.name) << " at " << dpi;
    }
    expectFontFor(dpi);
    // The font made for the earlier DPI is gone.
    EXPECT_EQ(testing_support::liveGdiObjects(), gdiObjects);
  }
}

// How wide and high a control's caption is drawn in its own font.
SIZE captionExtent(HWND control, std::wstring_view caption) {
  const win::WindowDc dc(control);
  const HGDIOBJ previous = SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), caption.data(), static_cast<int>(caption.size()), &extent);
  SelectObject(dc.get(), previous);
  return extent;
}

// The part of a control's client area that its caption may take: a label all of it; a button less its
// edges and focus frame; a check box less its box and the gap after it. The margins are generous.
SIZE captionRoom(HWND control, ControlKind kind, UINT dpi) {
  RECT client{};
  GetClientRect(control, &client);
  const int scale = static_cast<int>(dpi);
  const int margin = kind == ControlKind::PushButton ? MulDiv(2 * 4, scale, 96)
                     : kind == ControlKind::CheckBox ? MulDiv(13 + 6, scale, 96)
                                                     : 0;
  return SIZE{client.right - margin, client.bottom};
}

TEST_F(SetupDialogWindowTest, EveryCaptionShowsWholeAtEveryDpi) {
  for (const UINT dpi : {96u, 120u, 144u, 192u}) {
    RECT suggested{100, 100, 900, 800};
    SendMessageW(dialog->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    for (const ControlLayout& layout : dialogControls()) {
      if (layout.kind != ControlKind::Label && layout.kind != ControlKind::PushButton &&
          layout.kind != ControlKind::CheckBox) {
        continue;
      }
      const SIZE text = captionExtent(control(layout.id), layout.caption);
      const SIZE room = captionRoom(control(layout.id), layout.kind, dpi);
      EXPECT_LE(text.cx, room.cx) << std::wstring(layout.name) << " at " << dpi;
      EXPECT_LE(text.cy, room.cy) << std::wstring(layout.name) << " at " << dpi;
    }
  }
}

TEST_F(SetupDialogWindowTest, StatusWritesTheHelpLineOnlyWhenItsTextChanges) {
  const HWND line = control(ControlId::StatusBar);
  int writes = 0;
  ASSERT_TRUE(SetWindowSubclass(line, countTextWrites, 1, reinterpret_cast<DWORD_PTR>(&writes)));
  dialog->status(L"Time between two pictures");
  dialog->status(L"Time between two pictures");
  EXPECT_EQ(writes, 1);
  dialog->status(L"time between two pictures");
  EXPECT_EQ(writes, 2);
  dialog->status(L"");
  dialog->status(L"");
  EXPECT_EQ(writes, 3);
  wchar_t text[64] = L"x";
  GetWindowTextW(line, text, 64);
  EXPECT_STREQ(text, L"");
  RemoveWindowSubclass(line, countTextWrites, 1);
}

}  // namespace
}  // namespace slidewell::setup

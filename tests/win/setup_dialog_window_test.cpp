#include "setup/dialog/setup_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "setup/dialog/dialog_layout.h"
#include "win/dpi.h"
#include "win/gdi.h"

namespace slidewell::setup {
namespace {

LOGFONTW fontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

PixelRect rectInClient(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return PixelRect{rect.left, rect.top, rect.right, rect.bottom};
}

LRESULT CALLBACK countTextWrites(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count) {
  if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(window, message, wParam, lParam);
}

// The dialog in this process, created but not shown, and no modal loop.
class SetupDialogWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    dialog.emplace(GetModuleHandleW(nullptr));
    ASSERT_TRUE(dialog->create());
  }
  void TearDown() override {
    dialog.reset();
    // The destroyed window asks the modal loop to end; there is none here, so the request goes too.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  HWND control(ControlId id) const { return dialog->control(id); }

  void expectFontFor(UINT dpi) {
    for (const ControlLayout& layout : dialogControls()) {
      // These two show no text.
      if (layout.kind == ControlKind::ProgressBar || layout.kind == ControlKind::Image) continue;
      const LOGFONTW font = fontOf(control(layout.id));
      EXPECT_EQ(std::wstring(font.lfFaceName), L"MS Shell Dlg 2") << std::wstring(layout.name);
      EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(dpi), 72)) << std::wstring(layout.name);
    }
  }

  std::optional<SetupDialog> dialog;
};

TEST_F(SetupDialogWindowTest, EveryControlHasTheDialogFontAtTheWindowsDpi) {
  expectFontFor(win::windowDpi(dialog->window()));
}

TEST_F(SetupDialogWindowTest, FollowsAMoveToAMonitorOfAnotherDpi) {
  const long gdiObjects = win::liveGdiObjects();
  for (const UINT dpi : {144u, 192u, 96u}) {
    RECT suggested{300, 200, 1100, 900};
    SendMessageW(dialog->window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

    RECT frame{};
    GetWindowRect(dialog->window(), &frame);
    EXPECT_EQ(frame.left, 300);
    EXPECT_EQ(frame.top, 200);
    for (const ControlLayout& layout : dialogControls()) {
      EXPECT_EQ(rectInClient(dialog->window(), control(layout.id)), toPixels(layout.place, static_cast<int>(dpi)))
          << std::wstring(layout.name) << " at " << dpi;
    }
    expectFontFor(dpi);
    // The font made for the earlier DPI is gone.
    EXPECT_EQ(win::liveGdiObjects(), gdiObjects);
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

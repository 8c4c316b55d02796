#include "setup/dialog/preview_image.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "gdi_count.h"
#include "test_parent.h"
#include "win/gdi.h"

namespace slidewell::setup {
namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;

win::UniqueBitmap solidPicture(COLORREF colour) {
  const win::WindowDc screen(nullptr);
  win::UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), 2, 2));
  win::MemoryDc dc(screen.get());
  const win::SelectionScope selected(dc.get(), picture.get());
  const RECT all{0, 0, 2, 2};
  win::Unique<HBRUSH, DeleteObject> brush(CreateSolidBrush(colour));
  FillRect(dc.get(), &all, brush.get());
  return picture;
}

// What the box draws, read back at its corners and centre; all the same colour, or CLR_INVALID.
COLORREF drawnColour(HWND box) {
  const win::WindowDc screen(nullptr);
  win::UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
  win::MemoryDc dc(screen.get());
  const win::SelectionScope selected(dc.get(), canvas.get());
  SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  const COLORREF colour = GetPixel(dc.get(), kWidth / 2, kHeight / 2);
  for (const POINT corner :
       {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1}, POINT{kWidth - 1, kHeight - 1}}) {
    if (GetPixel(dc.get(), corner.x, corner.y) != colour) return CLR_INVALID;
  }
  return colour;
}

TEST(PreviewImage, FillsItsBoxWithThePictureAndFreesThePictureItReplaces) {
  const testing_support::TestParent parent;
  PreviewImage image;
  const HWND box = image.create(parent.hwnd(), 7, WS_VISIBLE, GetModuleHandleW(nullptr));
  ASSERT_NE(box, nullptr);
  SetWindowPos(box, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER);
  const long before = testing_support::liveGdiObjects();

  image.show(solidPicture(RGB(255, 0, 0)));
  EXPECT_EQ(drawnColour(box), RGB(255, 0, 0));
  image.show(solidPicture(RGB(0, 0, 255)));
  EXPECT_EQ(drawnColour(box), RGB(0, 0, 255));
  EXPECT_EQ(testing_support::liveGdiObjects(), before + 1);

  image.show(win::UniqueBitmap());
  EXPECT_EQ(drawnColour(box), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(testing_support::liveGdiObjects(), before);
}

}  // namespace
}  // namespace slidewell::setup

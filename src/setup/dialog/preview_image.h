#pragma once

#include <windows.h>

#include "win/gdi.h"
#include "win/window_object.h"

namespace slidewell::setup {

// `picture1`: a box that shows one picture scaled to fill it. Like a label, it lets the mouse through
// to the window beneath, which decides what the pointer is over.
class PreviewImage final : public win::WindowObject {
 public:
  PreviewImage() = default;

  // Creates the box as a child of `parent`; its rectangle is set later by whoever lays out the parent.
  HWND create(HWND parent, int id, DWORD style, HINSTANCE instance);

  // Shows `picture` instead of the picture shown so far, which is freed; an empty one leaves the box empty.
  void show(win::UniqueBitmap picture);

  // What the box shows where it has no picture, and what a picture's alpha is laid over.
  static COLORREF background() { return GetSysColor(COLOR_BTNFACE); }

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void paint(HDC dc) const;

  win::UniqueBitmap picture_;
};

}  // namespace slidewell::setup

#pragma once

#include <windows.h>

#include "win/window_object.h"
#include "win/gdi.h"

namespace slidewell::setup {

// `picture1`: a box that shows one picture scaled to fill it. Like a label, it lets the mouse through
// to the window beneath, which decides what the pointer is over.
class PreviewImage {
 public:
  PreviewImage() = default;
  PreviewImage(const PreviewImage&) = delete;
  PreviewImage& operator=(const PreviewImage&) = delete;
  // The window goes with the object, so that it never reaches an object that is gone.
  ~PreviewImage();

  // Creates the box as a child of `parent`; its rectangle is set later by whoever lays out the parent.
  HWND create(HWND parent, int id, DWORD style, HINSTANCE instance);
  HWND window() const { return window_; }

  // Shows `picture` instead of the picture shown so far, which is freed; an empty one leaves the box empty.
  void show(win::UniqueBitmap picture);

 private:
  template <typename Object>
  friend LRESULT CALLBACK win::objectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
  void attach(HWND window) { window_ = window; }
  void detach() { window_ = nullptr; }
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  void paint(HDC dc) const;

  HWND window_ = nullptr;
  win::UniqueBitmap picture_;
};

}  // namespace slidewell::setup

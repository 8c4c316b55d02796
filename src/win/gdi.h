#pragma once

#include <windows.h>

#include "win/handles.h"

namespace slidewell::win {

// GDI objects created by the program (bitmaps, fonts...) are freed with DeleteObject; memory device
// contexts from CreateCompatibleDC with DeleteDC.
using UniqueBitmap = Unique<HBITMAP, DeleteObject>;
using UniqueFont = Unique<HFONT, DeleteObject>;

class MemoryDc : public Unique<HDC, DeleteDC> {
 public:
  explicit MemoryDc(HDC compatibleWith) noexcept : Unique<HDC, DeleteDC>(CreateCompatibleDC(compatibleWith)) {}
};

// A window's device context for the length of a scope: GetDC then ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }
  HDC dc() const noexcept { return dc_; }
  const RECT& area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// Selects an object into a DC for the length of a scope, then puts the previous one back.
class SelectionScope {
 public:
  SelectionScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;
  ~SelectionScope() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace slidewell::win

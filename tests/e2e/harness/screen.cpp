#include "screen.h"

namespace slidewell::e2e {

RECT virtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool coversVirtualScreen(HWND window) {
  RECT area{};
  const RECT screen = virtualScreen();
  return GetWindowRect(window, &area) && EqualRect(&area, &screen);
}

Screenshot Screenshot::capture() { return capture(virtualScreen()); }

Screenshot Screenshot::capture(const RECT& area) {
  Screenshot shot;
  shot.left_ = area.left;
  shot.top_ = area.top;
  shot.width_ = area.right - area.left;
  shot.height_ = area.bottom - area.top;
  shot.pixels_.assign(static_cast<std::size_t>(shot.width_) * static_cast<std::size_t>(shot.height_), 0);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.width_;
  info.bmiHeader.biHeight = -shot.height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width_, shot.height_, screen, shot.left_, shot.top_, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < shot.pixels_.size(); ++i) shot.pixels_[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

Rgb Screenshot::at(int x, int y) const {
  const std::uint32_t p =
      pixels_[static_cast<std::size_t>(y - top_) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x - left_)];
  return Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)};
}

std::optional<RECT> Screenshot::boundsOf(Rgb colour) const {
  const std::uint32_t wanted = (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
  std::optional<RECT> bounds;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] != wanted) continue;
      if (!bounds) bounds = RECT{x, y, x + 1, y + 1};
      bounds->left = std::min<LONG>(bounds->left, x);
      bounds->top = std::min<LONG>(bounds->top, y);
      bounds->right = std::max<LONG>(bounds->right, x + 1);
      bounds->bottom = std::max<LONG>(bounds->bottom, y + 1);
    }
  }
  if (bounds) OffsetRect(&*bounds, left_, top_);
  return bounds;
}

std::optional<Rgb> theOneColourShown(const std::vector<Rgb>& colours) {
  const Screenshot shot = Screenshot::capture();
  std::optional<Rgb> shown;
  for (const Rgb& colour : colours) {
    if (!shot.boundsOf(colour)) continue;
    if (shown) return std::nullopt;
    shown = colour;
  }
  return shown;
}

}  // namespace slidewell::e2e

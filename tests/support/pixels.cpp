#include "pixels.h"

#include <algorithm>
#include <cstddef>

#include "win/gdi.h"

namespace slidewell::testing_support {

Pixels::Pixels(int width, int height, const std::function<void(HDC)>& draw)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const win::WindowDc screen(nullptr);
  const win::MemoryDc dc(screen.get());
  const win::UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  const win::SelectionScope selected(dc.get(), bitmap.get());
  draw(dc.get());
  GdiFlush();
  const auto* source = static_cast<const std::uint32_t*>(bits);
  std::transform(source, source + pixels_.size(), pixels_.begin(), [](std::uint32_t p) { return p & 0xFFFFFF; });
}

Pixels Pixels::printedBy(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return Pixels(client.right, client.bottom,
                [window](HDC dc) { SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); });
}

Rgb Pixels::at(int x, int y) const {
  const std::uint32_t p =
      pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  return Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)};
}

std::optional<RECT> Pixels::boundsWhere(const std::function<bool(Rgb)>& wanted) const {
  std::optional<RECT> bounds;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (!wanted(at(x, y))) continue;
      if (!bounds) bounds = RECT{x, y, x + 1, y + 1};
      bounds->left = std::min<LONG>(bounds->left, x);
      bounds->top = std::min<LONG>(bounds->top, y);
      bounds->right = std::max<LONG>(bounds->right, x + 1);
      bounds->bottom = std::max<LONG>(bounds->bottom, y + 1);
    }
  }
  return bounds;
}

bool Pixels::allOf(Rgb colour) const {
  const std::uint32_t wanted = std::uint32_t{colour.r} << 16 | std::uint32_t{colour.g} << 8 | colour.b;
  return std::all_of(pixels_.begin(), pixels_.end(), [wanted](std::uint32_t p) { return p == wanted; });
}

}  // namespace slidewell::testing_support

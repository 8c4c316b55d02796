#include "setup/dialog/window_icons.h"

#include "res/resource.h"

namespace slidewell::setup {
namespace {

constexpr int kBaseDpi = 96;
constexpr int kSmallIcon = 16;
constexpr int kBigIcon = 32;

// The image of the icon nearest that size, scaled to it when no image has it exactly. Not shared
// (LR_SHARED), since the system keeps shared icons at one size only.
win::UniqueIcon loadIcon(HINSTANCE instance, int size) {
  return win::UniqueIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_SLIDEWELL), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

WindowIcons::WindowIcons(HINSTANCE instance, UINT dpi)
    : small_(loadIcon(instance, MulDiv(kSmallIcon, static_cast<int>(dpi), kBaseDpi))),
      big_(loadIcon(instance, MulDiv(kBigIcon, static_cast<int>(dpi), kBaseDpi))) {}

void WindowIcons::applyTo(HWND window) const {
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
}

}  // namespace slidewell::setup

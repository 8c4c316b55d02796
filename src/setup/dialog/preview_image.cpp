#include "setup/dialog/preview_image.h"

#include <utility>

namespace slidewell::setup {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellPreviewImage";

// Restores the DC's stretch mode and brush origin, which a caller's DC (WM_PRINTCLIENT) expects back.
class HalftoneScope {
 public:
  explicit HalftoneScope(HDC dc) : dc_(dc), previousMode_(SetStretchBltMode(dc, HALFTONE)) {
    // HALFTONE needs the brush origin set after the mode.
    SetBrushOrgEx(dc, 0, 0, &previousOrigin_);
  }
  HalftoneScope(const HalftoneScope&) = delete;
  HalftoneScope& operator=(const HalftoneScope&) = delete;
  ~HalftoneScope() {
    SetBrushOrgEx(dc_, previousOrigin_.x, previousOrigin_.y, nullptr);
    if (previousMode_ != 0) SetStretchBltMode(dc_, previousMode_);
  }

 private:
  HDC dc_;
  int previousMode_;
  POINT previousOrigin_{};
};

}  // namespace

HWND PreviewImage::create(HWND parent, int id, DWORD style, HINSTANCE instance) {
  const bool created =
      win::WindowObject::create(instance, {kClassName}, {.style = style | WS_CHILD, .parent = parent, .id = id});
  return created ? hwnd() : nullptr;
}

void PreviewImage::show(win::UniqueBitmap picture) {
  picture_ = std::move(picture);
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, FALSE);
}

void PreviewImage::paint(HDC dc) const {
  RECT box{};
  GetClientRect(hwnd(), &box);
  BITMAP size{};
  if (!picture_ || GetObjectW(picture_.get(), sizeof size, &size) == 0) {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  win::MemoryDc source(dc);
  const win::SelectionScope selected(source.get(), picture_.get());
  const HalftoneScope halftone(dc);
  StretchBlt(dc, 0, 0, box.right, box.bottom, source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

LRESULT PreviewImage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;  // paint() covers every pixel
    case WM_PAINT: {
      const win::PaintScope scope(hwnd());
      paint(scope.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

}  // namespace slidewell::setup

#include "slideshow/slide_window.h"

#include <cmath>
#include <utility>

#include "settings/settings_keys.h"
#include "slideshow/interval.h"
#include "win/gdi.h"

namespace slidewell::slideshow {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellShow";
constexpr wchar_t kTitle[] = L"Form1";
constexpr UINT_PTR kTimerId = 1;
static_assert(kLongestTimerPeriod == USER_TIMER_MAXIMUM);

RECT virtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

SlideWindow::SlideWindow(HINSTANCE instance, const settings::SettingsStore& store, std::function<void()> endShow)
    : store_(store), endShow_(std::move(endShow)) {
  // Created at the size of every monitor together: a maximised window would cover only one, and
  // without a window manager a popup keeps the size it was created with.
  create(instance, {kClassName},
         {.style = WS_POPUP, .exStyle = WS_EX_TOPMOST, .title = kTitle, .place = virtualScreen()});
}

// Destroyed while the show can still put the cursor back.
SlideWindow::~SlideWindow() { destroy(); }

void SlideWindow::show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
}

LRESULT SlideWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId) nextimg();
      return 0;
    case WM_CHAR:
      end();
      return 0;
    case WM_MOUSEMOVE:
      onMouseMove();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel, black included, in one go
    case WM_PAINT: {
      const win::PaintScope scope(hwnd());
      paint(scope.dc(), scope.area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_DESTROY:
      onDestroy();
      return 0;
    default:
      return DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

// The load: cursor hidden, first picture in place, then the timer; display comes after.
void SlideWindow::onCreate() {
  ShowCursor(FALSE);
  cursorHidden_ = true;
  nextimg();
  period_ = slideshow::timerPeriod(textToNumber(store_.get(settings::kIntervalKey, settings::kIntervalDefault)));
  // A timer the platform refuses leaves the first picture up; the show still ends on input.
  if (period_ != 0 && SetTimer(hwnd(), kTimerId, period_, nullptr) == 0) period_ = 0;
}

void SlideWindow::nextimg() {
  invalidatePicture();
  pictureShown_ = false;
  // The old picture goes before the new one is decoded, so that two never take memory together.
  picture_.reset();
  picture_ = win::loadPicture(cycle_.nextimg(store_));

  RECT client{};
  GetClientRect(hwnd(), &client);
  const Size windowSize{static_cast<float>(client.right), static_cast<float>(client.bottom)};
  // Nothing loaded has no size, as an empty picture: the place is still drawn, so that the places of
  // later pictures do not depend on which files could be read.
  const Size pictureSize = picture_ ? Size{static_cast<float>(picture_->width), static_cast<float>(picture_->height)}
                                    : Size{0.0f, 0.0f};
  const Place place = changeplace(random_, windowSize, pictureSize);
  place_ = POINT{std::lround(place.left), std::lround(place.top)};

  pictureShown_ = picture_.has_value();
  invalidatePicture();
}

std::optional<RECT> SlideWindow::pictureArea() const {
  if (!pictureShown_ || !picture_) return std::nullopt;
  return RECT{place_.x, place_.y, place_.x + picture_->width, place_.y + picture_->height};
}

void SlideWindow::invalidatePicture() const {
  if (const auto area = pictureArea()) InvalidateRect(hwnd(), &*area, FALSE);
}

void SlideWindow::onMouseMove() {
  if (moves_.mm()) end();
}

// The old picture's area and the new picture reach the screen in one copy from a buffer, so no pixel
// is seen black before its picture arrives.
void SlideWindow::paint(HDC dc, const RECT& area) const {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const win::MemoryDc buffer(dc);
  const win::UniqueBitmap bitmap(buffer ? CreateCompatibleBitmap(dc, width, height) : nullptr);
  if (!bitmap) {
    drawScene(dc, area, POINT{0, 0});  // no memory for a buffer: drawn directly rather than not at all
    return;
  }
  const win::SelectionScope selected(buffer.get(), bitmap.get());
  drawScene(buffer.get(), area, POINT{area.left, area.top});
  BitBlt(dc, area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}

// Black, and the picture over it where it is shown; `origin` is the window point at the target's 0, 0.
void SlideWindow::drawScene(HDC target, const RECT& area, POINT origin) const {
  RECT background = area;
  OffsetRect(&background, -origin.x, -origin.y);
  FillRect(target, &background, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (!pictureShown_ || !picture_) return;
  const win::MemoryDc source(target);
  if (!source) return;
  const win::SelectionScope selected(source.get(), picture_->bitmap.get());
  BitBlt(target, place_.x - origin.x, place_.y - origin.y, picture_->width, picture_->height, source.get(), 0, 0,
         SRCCOPY);
}

void SlideWindow::end() {
  showCursorAgain();
  endShow_();
}

void SlideWindow::showCursorAgain() {
  if (!cursorHidden_) return;
  ShowCursor(TRUE);
  cursorHidden_ = false;
}

// Closed by the platform rather than ended by the user: the cursor must not stay hidden either.
void SlideWindow::onDestroy() {
  if (period_ != 0) KillTimer(hwnd(), kTimerId);
  showCursorAgain();
}

}  // namespace slidewell::slideshow

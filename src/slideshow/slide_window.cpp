#include "slideshow/slide_window.h"

#include <string>
#include <utility>

#include "settings/settings_keys.h"
#include "slideshow/interval.h"
#include "win/gdi.h"

namespace slidewell::slideshow {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellShow";
constexpr wchar_t kTitle[] = L"Form1";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kStallTimerId = 2;
constexpr UINT kPictureReadMessage = WM_APP + 1;
static_assert(kLongestTimerPeriod == USER_TIMER_MAXIMUM);

RECT virtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

SlideWindow::SlideWindow(HINSTANCE instance, const settings::SettingsStore& store, std::function<void()> endShow)
    : store_(store), endShow_(std::move(endShow)), loader_(nullptr, kPictureReadMessage) {
  // Created at the size of every monitor together: a maximised window would cover only one, and
  // without a window manager a popup keeps the size it was created with.
  const RECT screen = virtualScreen();
  // The first picture is read while the window is being made, which takes about as long.
  startChange(SIZE{screen.right - screen.left, screen.bottom - screen.top});
  create(instance, {kClassName}, {.style = WS_POPUP, .exStyle = WS_EX_TOPMOST, .title = kTitle, .place = screen});
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
      if (wParam == kStallTimerId) onStall();
      return 0;
    case kPictureReadMessage:
      onPictureRead();
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

// The load: cursor hidden, the first picture (read since the window began to be made) in place, then the
// timer; display comes after.
void SlideWindow::onCreate() {
  ShowCursor(FALSE);
  cursorHidden_ = true;
  loader_.announceTo(hwnd());
  if (loader_.waitFor(kFirstPictureWait)) {
    onPictureRead();
  } else {
    SetTimer(hwnd(), kStallTimerId, kStallBound - static_cast<UINT>(kFirstPictureWait.count()), nullptr);
  }
  period_ = slideshow::timerPeriod(textToNumber(store_.get(settings::kIntervalKey, settings::kIntervalDefault)));
  // A timer the platform refuses leaves the first picture up; the show still ends on input.
  if (period_ != 0 && SetTimer(hwnd(), kTimerId, period_, nullptr) == 0) period_ = 0;
}

void SlideWindow::nextimg() {
  if (changing_) {
    tickMissed_ = true;
    return;
  }
  invalidatePicture();
  pictureShown_ = false;
  // The old picture goes before the new one is decoded, so that two never take memory together.
  picture_.reset();
  RECT client{};
  GetClientRect(hwnd(), &client);
  startChange(SIZE{client.right, client.bottom});
  SetTimer(hwnd(), kStallTimerId, kStallBound, nullptr);
}

void SlideWindow::startChange(SIZE window) {
  const std::wstring path = cycle_.nextimg(store_);
  const PlaceChance chance = changeplace(random_);
  changing_ = true;
  loader_.start([path, window, chance](const win::PictureDecoder& decoder) {
    return loadVisiblePicture(decoder, path, window, chance);
  });
}

void SlideWindow::onPictureRead() {
  // Nothing for a picture given up, or for the first one, already taken at the load.
  if (auto read = loader_.take()) endChange(std::move(*read));
}

void SlideWindow::onStall() {
  loader_.abandon();
  endChange(std::nullopt);
}

void SlideWindow::endChange(std::optional<VisiblePicture> picture) {
  KillTimer(hwnd(), kStallTimerId);
  changing_ = false;
  if (std::exchange(tickMissed_, false) && period_ != 0) SetTimer(hwnd(), kTimerId, period_, nullptr);
  picture_ = std::move(picture);
  pictureShown_ = picture_.has_value();
  invalidatePicture();
}

std::optional<RECT> SlideWindow::pictureArea() const {
  if (!pictureShown_ || !picture_) return std::nullopt;
  return picture_->area;
}

std::optional<RECT> SlideWindow::visiblePart() const {
  if (!pictureShown_ || !picture_) return std::nullopt;
  const POINT at = picture_->partAt;
  return RECT{at.x, at.y, at.x + picture_->part.width, at.y + picture_->part.height};
}

void SlideWindow::invalidatePicture() const {
  if (const auto part = visiblePart()) InvalidateRect(hwnd(), &*part, FALSE);
}

void SlideWindow::onMouseMove() {
  if (moves_.mm()) end();
}

// Each pixel is drawn once, black or picture, so that none is seen black before its picture arrives.
void SlideWindow::paint(HDC dc, const RECT& area) const {
  const auto part = visiblePart();
  const int saved = SaveDC(dc);
  if (part) ExcludeClipRect(dc, part->left, part->top, part->right, part->bottom);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RestoreDC(dc, saved);
  if (!part) return;
  const win::MemoryDc source(dc);
  if (!source) return;
  const win::SelectionScope selected(source.get(), picture_->part.bitmap.get());
  BitBlt(dc, part->left, part->top, part->right - part->left, part->bottom - part->top, source.get(), 0, 0, SRCCOPY);
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

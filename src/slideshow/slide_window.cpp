#include "slideshow/slide_window.h"

#include <string>
#include <utility>

#include "settings/settings_keys.h"
#include "slideshow/interval.h"
#include "win/gdi.h"

namespace slidewell {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellShow";
constexpr wchar_t kTitle[] = L"Form1";
constexpr UINT_PTR kTimerId = 1;
static_assert(kLongestTimerPeriod == USER_TIMER_MAXIMUM);

bool registerClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = win::objectWindowProcedure<SlideWindow>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

RECT virtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

SlideWindow::SlideWindow(HINSTANCE instance, const SettingsStore& store, std::function<void()> endShow)
    : store_(store), endShow_(std::move(endShow)) {
  if (!registerClass(instance)) return;
  // Created at the size of every monitor together: a maximised window would cover only one, and
  // without a window manager a popup keeps the size it was created with.
  const RECT screen = virtualScreen();
  CreateWindowExW(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, screen.left, screen.top,
                  screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr, instance, this);
}

SlideWindow::~SlideWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void SlideWindow::show() {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
}

LRESULT SlideWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
      const win::PaintScope scope(window_);
      paint(scope.dc(), scope.area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(window_, &client);
      paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_DESTROY:
      onDestroy();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// The load: cursor hidden, first picture in place, then the timer; display comes after.
void SlideWindow::onCreate() {
  ShowCursor(FALSE);
  cursorHidden_ = true;
  nextimg();
  period_ = slidewell::timerPeriod(textToNumber(store_.get(settings::kIntervalKey, settings::kIntervalDefault)));
  // A timer the platform refuses leaves the first picture up; the show still ends on input.
  if (period_ != 0 && SetTimer(window_, kTimerId, period_, nullptr) == 0) period_ = 0;
}

void SlideWindow::nextimg() {
  invalidatePicture();
  pictureShown_ = false;
  // The old picture goes before the new one is decoded, so that two never take memory together.
  picture_.reset();
  const std::wstring path = cycle_.nextimg(store_);
  RECT client{};
  GetClientRect(window_, &client);
  picture_ = loadVisiblePicture(decoder_, path, SIZE{client.right, client.bottom}, changeplace(random_));
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
  if (const auto part = visiblePart()) InvalidateRect(window_, &*part, FALSE);
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
  if (period_ != 0) KillTimer(window_, kTimerId);
  showCursorAgain();
}

}  // namespace slidewell

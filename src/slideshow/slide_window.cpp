#include "slideshow/slide_window.h"

#include <string>
#include <utility>

#include "settings/settings_store.h"
#include "slideshow/interval.h"
#include "win/display_power.h"
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

struct MonitorList {
  RECT screen;
  std::vector<PixelRect> monitors;
};

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
  auto& found = *reinterpret_cast<MonitorList*>(list);
  found.monitors.push_back(PixelRect{area->left - found.screen.left, area->top - found.screen.top,
                                     area->right - area->left, area->bottom - area->top});
  return TRUE;
}

// The monitors in the pixels of a window over `screen`; the whole screen when none can be told.
std::vector<PixelRect> monitorsOf(const RECT& screen) {
  MonitorList list{screen, {}};
  if (!EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&list)) || list.monitors.empty()) {
    return {PixelRect{0, 0, screen.right - screen.left, screen.bottom - screen.top}};
  }
  return list.monitors;
}

std::uint32_t storedPeriod(const settings::SettingsStore& store) {
  return timerPeriod(textToNumber(store.get(settings::kIntervalKey, settings::kIntervalDefault)));
}

}  // namespace

SlideWindow::SlideWindow(HINSTANCE instance, const settings::SettingsStore& store, std::function<void()> endShow)
    : store_(store),
      endShow_(std::move(endShow)),
      screen_(virtualScreen()),
      monitors_(monitorsOf(screen_)),
      loader_(ChangeRules::kStallBound) {
  // Created at the size of every monitor together: a maximised window would cover only one, and
  // without a window manager a popup keeps the size it was created with.
  create(instance, {kClassName}, {.style = WS_POPUP, .exStyle = WS_EX_TOPMOST, .title = kTitle, .place = screen_});
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
    case WM_DISPLAYCHANGE:
      coverScreen();
      return 0;
    case WM_POWERBROADCAST:
      if (const auto visible = win::displayVisibleFrom(wParam, lParam)) onDisplayVisible(*visible);
      return TRUE;
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

// The load: cursor hidden, the first picture in place, then the timer; display comes after.
void SlideWindow::onCreate() {
  ShowCursor(FALSE);
  cursorHidden_ = true;
  if (rules_.tick()) startChange(ChangeRules::kFirstPictureWait);
  rules_.setPeriod(storedPeriod(store_));
  // A timer the platform refuses leaves the first picture up; the show still ends on input.
  if (rules_.period() != 0 && SetTimer(hwnd(), kTimerId, rules_.period(), nullptr) == 0) rules_.setPeriod(0);
  displayPower_ = win::registerDisplayPower(hwnd());
}

void SlideWindow::onDisplayVisible(bool visible) {
  switch (rules_.displayVisible(visible)) {
    case ChangeRules::Resume::Nothing:
      return;
    case ChangeRules::Resume::ChangeNow:
      nextimg();
      break;
    case ChangeRules::Resume::PeriodAfresh:
      break;
  }
  SetTimer(hwnd(), kTimerId, rules_.period(), nullptr);
}

// The picture on screen stays while the next one is read.
void SlideWindow::nextimg() {
  if (!rules_.tick()) return;
  coverScreen();
  startChange({});
}

void SlideWindow::startChange(std::chrono::milliseconds wait) {
  const std::wstring path = cycle_.nextimg(store_);
  const PlaceChance chance = changeplace(random_);
  loader_.start(
      [path, monitors = monitors_, chance](const win::PictureDecoder& decoder, picture::ReadProgress& progress) {
        return loadVisiblePicture(decoder, path, monitors, chance, progress);
      },
      [this](std::optional<VisiblePicture> picture) { endChange(std::move(picture)); }, wait);
}

// One paint puts the new picture in the old one's place: of the old one, the part that the new one does
// not cover turns black, and no pixel of either is drawn twice or turns black before. A picture that
// could not be read leaves black in the old one's place, so that it never looks like the one before.
void SlideWindow::endChange(std::optional<VisiblePicture> picture) {
  // Armed again, the timer starts its period afresh; refused, the timer armed before goes on as it was.
  if (rules_.changeEnded()) SetTimer(hwnd(), kTimerId, rules_.period(), nullptr);
  invalidatePicture();
  picture_ = std::move(picture);
  invalidatePicture();
  UpdateWindow(hwnd());
}

void SlideWindow::coverScreen() {
  const RECT screen = virtualScreen();
  monitors_ = monitorsOf(screen);
  if (EqualRect(&screen, &screen_)) return;
  screen_ = screen;
  SetWindowPos(hwnd(), HWND_TOPMOST, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
               SWP_NOACTIVATE);
}

std::optional<RECT> SlideWindow::pictureArea() const {
  if (!picture_) return std::nullopt;
  return picture_->area;
}

std::optional<RECT> SlideWindow::visiblePart() const {
  if (!picture_) return std::nullopt;
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
  displayPower_.reset();
  if (rules_.period() != 0) KillTimer(hwnd(), kTimerId);
  showCursorAgain();
}

}  // namespace slidewell::slideshow

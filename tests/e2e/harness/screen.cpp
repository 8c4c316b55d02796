#include "screen.h"

#include "wait.h"
#include "win/gdi.h"

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
  return Screenshot(
      area.left, area.top, testing_support::Pixels(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
        const win::WindowDc screen(nullptr);
        BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen.get(), area.left, area.top, SRCCOPY);
      }));
}

Rgb Screenshot::at(int x, int y) const { return pixels_.at(x - left_, y - top_); }

std::optional<RECT> Screenshot::boundsOf(Rgb colour) const {
  auto bounds = pixels_.boundsWhere([colour](Rgb c) { return c == colour; });
  if (bounds) OffsetRect(&*bounds, left_, top_);
  return bounds;
}

std::optional<RECT> waitForColour(Rgb colour, DWORD timeoutMs) {
  std::optional<RECT> bounds;
  testing_support::waitUntil([&] { return (bounds = Screenshot::capture().boundsOf(colour)).has_value(); }, timeoutMs);
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

std::vector<Rgb> coloursInTurn(const RunningProgram& program, const std::vector<Rgb>& colours, std::size_t count,
                               DWORD timeoutMs) {
  std::vector<Rgb> seen;
  testing_support::waitUntil(
      [&] {
        const auto shown = theOneColourShown(colours);
        if (shown && (seen.empty() || seen.back() != *shown)) seen.push_back(*shown);
        return seen.size() >= count || !program.running();
      },
      timeoutMs);
  return seen;
}

}  // namespace slidewell::e2e

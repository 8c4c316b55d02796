#include "screen.h"

#include <functional>

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

namespace {

// Watches the screen while `program` runs, noting each change of the one colour of `colours` shown (or
// of black, when `black` is noted and the screen shows nothing else), until `done` holds of what was seen.
std::vector<Rgb> watch(const RunningProgram& program, const std::vector<Rgb>& colours, bool black,
                       const std::function<bool(const std::vector<Rgb>&)>& done, DWORD timeoutMs) {
  std::vector<Rgb> seen;
  testing_support::waitUntil(
      [&] {
        const Screenshot shot = Screenshot::capture();
        std::optional<Rgb> shown;
        if (black && shot.onlyBlack()) shown = kBlack;
        for (const Rgb& colour : colours) {
          if (!shot.boundsOf(colour)) continue;
          shown = shown ? std::nullopt : std::optional(colour);
          if (!shown) break;
        }
        if (shown && (seen.empty() || seen.back() != *shown)) seen.push_back(*shown);
        return done(seen) || !program.running();
      },
      timeoutMs);
  return seen;
}

}  // namespace

std::vector<Rgb> coloursInTurn(const RunningProgram& program, const std::vector<Rgb>& colours, std::size_t count,
                               DWORD timeoutMs) {
  return watch(
      program, colours, false, [count](const std::vector<Rgb>& seen) { return seen.size() >= count; }, timeoutMs);
}

std::vector<Rgb> sightingsUntil(const RunningProgram& program, const std::vector<Rgb>& colours, Rgb last,
                                DWORD timeoutMs) {
  return watch(
      program, colours, true, [last](const std::vector<Rgb>& seen) { return !seen.empty() && seen.back() == last; },
      timeoutMs);
}

}  // namespace slidewell::e2e

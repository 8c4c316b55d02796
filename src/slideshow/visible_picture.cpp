#include "slideshow/visible_picture.h"

#include <utility>

namespace slidewell::slideshow {

std::optional<VisiblePicture> loadVisiblePicture(const win::PictureDecoder& decoder, const std::wstring& path,
                                                 const std::vector<PixelRect>& monitors, PlaceChance chance,
                                                 picture::ReadProgress& progress) {
  if (monitors.empty()) return std::nullopt;
  const auto frame = decoder.open(path, &progress);
  if (!frame) return std::nullopt;
  const MonitorPlace placed =
      placeOnMonitors(chance, monitors, Size{static_cast<float>(frame->width), static_cast<float>(frame->height)});
  const PixelPlacement pixels = inPixels(placed.place, frame->width, frame->height, monitors[placed.monitor]);
  // Within the decoder's limit the sides fit an INT, and the rules keep the place within one side's
  // length of its monitor, so every figure fits the window's coordinates.
  const PixelRect& whole = pixels.picture;
  const PixelRect& seen = pixels.visible;
  auto part = decoder.decodeArea(*frame, WICRect{static_cast<INT>(seen.left), static_cast<INT>(seen.top),
                                                 static_cast<INT>(seen.width), static_cast<INT>(seen.height)});
  if (!part) return std::nullopt;
  VisiblePicture visible;
  visible.part = std::move(*part);
  visible.area = RECT{static_cast<LONG>(whole.left), static_cast<LONG>(whole.top),
                      static_cast<LONG>(whole.left + whole.width), static_cast<LONG>(whole.top + whole.height)};
  visible.partAt = POINT{static_cast<LONG>(whole.left + seen.left), static_cast<LONG>(whole.top + seen.top)};
  return visible;
}

}  // namespace slidewell::slideshow

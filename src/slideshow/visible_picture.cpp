#include "slideshow/visible_picture.h"

#include <utility>

namespace slidewell::slideshow {

std::optional<VisiblePicture> loadVisiblePicture(const win::PictureDecoder& decoder, const std::wstring& path,
                                                 SIZE window, PlaceChance chance) {
  const auto frame = decoder.open(path);
  if (!frame) return std::nullopt;
  const Place place = placeOf(chance, Size{static_cast<float>(window.cx), static_cast<float>(window.cy)},
                              Size{static_cast<float>(frame->width), static_cast<float>(frame->height)});
  const PixelPlacement placed = inPixels(place, frame->width, frame->height, window.cx, window.cy);
  // Within the decoder's limit the sides fit an INT, and the rules keep the place within one side's
  // length of the window, so every figure fits the window's coordinates.
  const PixelRect& whole = placed.picture;
  const PixelRect& seen = placed.visible;
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

#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "picture/read_progress.h"
#include "slideshow/placement.h"
#include "win/picture_file.h"

namespace slidewell::slideshow {

// A picture as the show puts it in its window: only the part on its monitor is decoded and kept.
struct VisiblePicture {
  win::Picture part;  // at most its monitor's size
  RECT area{};        // the whole picture's place, in the window's pixels
  POINT partAt{};     // where `part` goes, in the window's pixels
};

// Opens the picture at `path`, places it 1:1 on one of `monitors` (in the window's pixels) by `chance`
// as the show's rules place it, and decodes only its part on that monitor, marking its reads on
// `progress`. It touches no window and keeps nothing once it returns. Empty when the picture cannot be
// loaded (see win::PictureDecoder).
std::optional<VisiblePicture> loadVisiblePicture(const win::PictureDecoder& decoder, const std::wstring& path,
                                                 const std::vector<PixelRect>& monitors, PlaceChance chance,
                                                 picture::ReadProgress& progress);

}  // namespace slidewell::slideshow

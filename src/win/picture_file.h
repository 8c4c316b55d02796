#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "win/gdi.h"

namespace slidewell::win {

// A decoded picture: a 32-bit top-down DIB section (premultiplied BGRA, so transparent parts come out
// black when drawn with BitBlt) and its size in pixels.
struct Picture {
  UniqueBitmap bitmap;
  int width = 0;
  int height = 0;
};

// Pictures with more pixels than this are refused rather than decoded: 64 Mpx is 256 MiB decoded,
// which a 32-bit process cannot be sure to find in one piece. A 50-megapixel camera picture still loads.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;

// Loads a picture file through the Windows Imaging Component, in any format it decodes (BMP, JPEG, PNG,
// GIF, TIFF...; of several frames the first). Empty on any failure: an empty path, a missing file, a
// folder, an unreadable or absent drive (no error box is shown), a file that is empty, truncated or no
// picture, a size of zero or above kMaxPicturePixels, or no memory for the bitmap.
// The caller must have initialised COM on this thread (apartment-threaded, see ComApartment).
std::optional<Picture> loadPicture(const std::wstring& path);

}  // namespace slidewell::win

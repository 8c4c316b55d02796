#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <optional>
#include <string>

#include "win/com.h"
#include "win/gdi.h"

namespace slidewell::win {

// A decoded bitmap: a top-down DIB section and its size in pixels. Frames already in a format that
// BitBlt draws as it is (24-bit BGR, 32-bit BGR, premultiplied BGRA) keep their own depth; every other
// format becomes premultiplied 32-bit BGRA, so transparent parts come out black when drawn.
struct Picture {
  UniqueBitmap bitmap;
  int width = 0;
  int height = 0;
};

// The first frame of an opened picture file. Only its header has been read.
struct PictureFrame {
  UniqueCom<IWICBitmapFrameDecode> frame;
  int width = 0;
  int height = 0;
};

// The program keeps at most the part of a picture that it shows, but the platform's decoders keep
// their own copy of the whole frame at its own depth while they serve any part of it (Wine's BMP and
// JPEG decoders read the whole frame first). That copy is what a picture costs, so it sets the limit:
// - 64-bit: WIC sizes buffers and strides as 32-bit counts, so a frame above 4 GiB cannot be held;
// - 32-bit: in a 2 GiB address space already shared with the program, its DLLs and heaps, a block
//   above 1 GiB is not to be found in one piece, and the attempt would only fail after reading the file.
// A 24-bit panorama of 350 Mpx (64-bit: 1.4 Gpx) still opens; its sides must also fit a WICRect.
inline constexpr std::uint64_t kMaxDecodedFrameBytes =
    sizeof(void*) == 4 ? std::uint64_t{1} << 30 : std::uint64_t{0xFFFFFFFF};

// Whether a decoder can be expected to hold a frame of this size and depth (see above).
bool decoderCanHold(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel);

// Decodes picture files through the Windows Imaging Component, in any format it reads (BMP, JPEG, PNG,
// GIF, TIFF...; of several frames the first). Its imaging factory is made once, for all the pictures
// it decodes. COM must be initialised on the thread that creates it (see ComApartment).
// Every call gives nothing on failure: an empty path, a missing file, a folder, an unreadable or
// absent drive (no error box is shown), a file that is empty, truncated or no picture, a size of zero
// or beyond what decoderCanHold allows, or no memory.
class PictureDecoder {
 public:
  PictureDecoder();
  PictureDecoder(const PictureDecoder&) = delete;
  PictureDecoder& operator=(const PictureDecoder&) = delete;

  // Reads the picture's header: its size and depth, and whether it is within the limit.
  std::optional<PictureFrame> open(const std::wstring& path) const;

  // Decodes only `area` of the frame (which must lie inside it), at one pixel to one pixel.
  std::optional<Picture> decodeArea(const PictureFrame& frame, const WICRect& area) const;

  // The whole picture, made at most twice `box` in each direction by the platform's scaler, so that a
  // halftone stretch into the box still averages several pixels into each one.
  std::optional<Picture> decodeToFill(const std::wstring& path, SIZE box) const;

 private:
  // `area` of `source`, converted first unless drawable as it is.
  std::optional<Picture> decode(IWICBitmapSource* source, const WICRect& area) const;

  UniqueCom<IWICImagingFactory> factory_;
};

}  // namespace slidewell::win

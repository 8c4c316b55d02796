#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "picture/bitmap_rows.h"
#include "picture/read_progress.h"
#include "win/com.h"
#include "win/file_bytes.h"
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

// A bitmap whose pixels are stored uncompressed, read row by row straight from its file.
struct StoredBitmap {
  std::unique_ptr<FileBytes> file;
  picture::BitmapLayout layout;
};

// The first frame of an opened picture file. Only its header has been read. It is either a stored
// bitmap or a frame of the platform's decoder.
struct PictureFrame {
  std::optional<StoredBitmap> stored;
  UniqueCom<IWICBitmapFrameDecode> frame;  // when not stored
  int width = 0;
  int height = 0;
};

// Decodes picture files through the Windows Imaging Component, in any format it reads (BMP, JPEG, PNG,
// GIF, TIFF...; of several frames the first). Its imaging factory is made once, for all the pictures
// it decodes. COM must be initialised on the thread that creates it (see ComApartment).
// A BMP file whose pixels are stored uncompressed (see picture::readBitmapLayout) is read without a
// decoder: of an area only its rows are read, and of each row only its span, into the shown picture,
// which comes out as the decoder gives it (24-bit and 32-bit pixels as stored, palette colours as
// opaque 32-bit pixels). Such a file shorter than its header declares opens, as its header is all
// that is read then, but none of its areas decodes: it shows nothing, as through a decoder that reads
// the whole frame first.
// Every call gives nothing on failure: an empty path, a missing file, a folder, an unreadable or
// absent drive (no error box is shown), a file that is empty, truncated or no picture, a size of zero
// or beyond what picture::decoderCanHold allows, or no memory. A PNG, GIF, TIFF, JPEG or BMP file whose header
// declares a frame beyond that limit is refused before any decoder is given it, at the cost of reading
// its header.
class PictureDecoder {
 public:
  PictureDecoder();
  PictureDecoder(const PictureDecoder&) = delete;
  PictureDecoder& operator=(const PictureDecoder&) = delete;

  // Reads the picture's header: its size and depth, and whether it is within the limit. Every read of
  // the file, then and while the frame is decoded, is marked on `progress` (when given).
  std::optional<PictureFrame> open(const std::wstring& path, picture::ReadProgress* progress = nullptr) const;

  // Decodes only `area` of the frame (which must lie inside it), at one pixel to one pixel.
  std::optional<Picture> decodeArea(const PictureFrame& frame, const WICRect& area) const;

  // The whole picture, made at most twice `box` in each direction by the platform's scaler, so that a
  // halftone stretch into the box still averages several pixels into each one. Every file goes to the
  // decoder here: each of its rows is needed, and the scaler works on a decoder's frame.
  std::optional<Picture> decodeToFill(const std::wstring& path, SIZE box,
                                      picture::ReadProgress* progress = nullptr) const;

 private:
  // The frame of the platform's decoder for `file`, which it keeps.
  std::optional<PictureFrame> decoderFrame(std::unique_ptr<FileBytes> file) const;
  // `area` of `source`, converted first unless drawable as it is.
  std::optional<Picture> decode(IWICBitmapSource* source, const WICRect& area) const;

  UniqueCom<IWICImagingFactory> factory_;
};

}  // namespace slidewell::win

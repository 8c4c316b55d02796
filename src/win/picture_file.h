#pragma once

#include <windows.h>
#include <wincodec.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "picture/bmp_header.h"
#include "picture/picture_header.h"
#include "picture/read_progress.h"
#include "win/com.h"
#include "win/file_bytes.h"
#include "win/gdi.h"

namespace slidewell::win {

// A decoded bitmap: a top-down 32-bit DIB section (BitBlt draws it as it is, fastest from this depth)
// whose colours are already laid over their background, and its size in pixels.
struct Picture {
  UniqueBitmap bitmap;
  int width = 0;
  int height = 0;
};

// A BMP file, read by the program's own reader (picture::readBmpArea) straight from its file.
struct StoredBitmap {
  std::unique_ptr<FileBytes> file;
  picture::BmpLayout layout;
};

// A frame of the platform's decoder, which keeps the file open through its stream.
struct DecoderFrame {
  UniqueCom<IWICBitmapFrameDecode> frame;
};

// The first frame of an opened picture file. Only its header has been read.
struct PictureFrame {
  std::variant<StoredBitmap, DecoderFrame> source;
  int width = 0;
  int height = 0;
};

// Decodes picture files. Every BMP file goes to the program's own reader, which reads every kind the
// same on every system (see picture::readBmpLayout and picture::readBmpArea); a JPEG or PNG stored inside
// one goes to the platform's decoder of that format. Other files go to the Windows Imaging Component,
// in any format it reads (JPEG, PNG, GIF, TIFF...; of several frames the first); what has alpha there
// is laid over black in the show and over the given background in the preview, like a BMP's alpha.
// Its imaging factory is made when a picture first needs it, once for all the pictures it decodes, so
// that a show of bitmaps alone never loads the imaging component nor sets up COM. It is used on one
// thread, on which it sets up COM itself then, unless the thread has it already.
// Every call gives nothing on failure: an empty path, a missing file, a folder, an unreadable or
// absent drive (no error box is shown), a file that is empty, truncated or no picture, a size of zero
// or beyond what picture::decoderCanHold allows, or no memory. A file whose header declares a frame
// beyond that limit is refused before any decoder is given it, at the cost of reading its header.
class PictureDecoder {
 public:
  PictureDecoder() = default;
  PictureDecoder(const PictureDecoder&) = delete;
  PictureDecoder& operator=(const PictureDecoder&) = delete;

  // Reads the picture's header, once: its size, and whether it is within the limit. Every read of the
  // file, then and while the frame is decoded, is marked on `progress` (when given).
  std::optional<PictureFrame> open(const std::wstring& path, picture::ReadProgress* progress = nullptr) const;

  // Decodes only `area` of the frame (which must lie inside it), at one pixel to one pixel, alpha laid
  // over black. Of a BMP file only the area's rows are read, and of each row only its span.
  std::optional<Picture> decodeArea(const PictureFrame& frame, const WICRect& area) const;

  // The whole picture, made at most twice `box` in each direction (a BMP by the program's own
  // averaging, anything else by the platform's scaler), so that a halftone stretch into the box still
  // averages several pixels into each one; alpha laid over `background`.
  std::optional<Picture> decodeToFill(const std::wstring& path, SIZE box, COLORREF background,
                                      picture::ReadProgress* progress = nullptr) const;

 private:
  // The frame of the platform's decoder for the picture `input` names in `file`, which it keeps.
  std::optional<PictureFrame> decoderFrame(std::unique_ptr<FileBytes> file, const picture::DecoderInput& input) const;
  // `area` of `source` as premultiplied BGRA, converted first unless it is that already.
  std::optional<Picture> decode(IWICBitmapSource* source, const WICRect& area) const;
  // The imaging factory, made on first use; null when it cannot be had, and every decoder's picture
  // then fails to open, as an unreadable file would.
  IWICImagingFactory* factory() const;

  mutable std::optional<ComApartment> com_;
  mutable UniqueCom<IWICImagingFactory> factory_;
  mutable bool factoryTried_ = false;
};

}  // namespace slidewell::win

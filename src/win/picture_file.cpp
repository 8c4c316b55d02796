#include "win/picture_file.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

#include "picture/bitmap_rows.h"
#include "picture/picture_header.h"
#include "win/file_bytes.h"
#include "win/handles.h"

namespace slidewell::win {
namespace {

UniqueBitmap topDownDib(INT width, INT height, WORD bitsPerPixel, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

// The formats that a DIB section holds and BitBlt draws as they are, without alpha to honour.
std::optional<WORD> drawableDepth(const WICPixelFormatGUID& format) {
  if (format == GUID_WICPixelFormat24bppBGR) return 24;
  if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppPBGRA) return 32;
  return std::nullopt;
}

std::optional<UINT> bitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  UniqueCom<IWICComponentInfo> component;
  UniqueCom<IWICPixelFormatInfo> info;
  UINT bits = 0;
  if (FAILED(factory->CreateComponentInfo(format, component.put())) ||
      FAILED(component.get()->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(info.put()))) ||
      FAILED(info.get()->GetBitsPerPixel(&bits)) || bits == 0) {
    return std::nullopt;
  }
  return bits;
}

std::uint64_t dibStride(INT width, WORD depth) {
  return (std::uint64_t{static_cast<UINT>(width)} * depth + 31) / 32 * 4;
}

std::optional<Picture> copyInBands(IWICBitmapSource* source, WORD depth, const WICRect& area) {
  if (area.Width <= 0 || area.Height <= 0) return std::nullopt;
  const std::uint64_t stride = dibStride(area.Width, depth);
  // In bands of rows: a converter or scaler may hold a copy of all the source pixels that it is asked
  // for at once, and a band keeps that copy small.
  constexpr INT kBandRows = 64;
  if (stride * kBandRows > UINT_MAX) return std::nullopt;
  void* bits = nullptr;
  Picture picture;
  picture.bitmap = topDownDib(area.Width, area.Height, depth, &bits);
  if (!picture.bitmap || bits == nullptr) return std::nullopt;
  for (INT top = 0; top < area.Height; top += kBandRows) {
    const INT rows = std::min(kBandRows, area.Height - top);
    const WICRect band{area.X, area.Y + top, area.Width, rows};
    BYTE* const start = static_cast<BYTE*>(bits) + static_cast<std::size_t>(stride) * static_cast<std::size_t>(top);
    const auto bandBytes = static_cast<UINT>(stride * static_cast<UINT>(rows));
    if (FAILED(source->CopyPixels(&band, static_cast<UINT>(stride), bandBytes, start))) return std::nullopt;
  }
  picture.width = area.Width;
  picture.height = area.Height;
  return picture;
}

std::optional<Picture> readStoredArea(const StoredBitmap& stored, const WICRect& area) {
  if (area.X < 0 || area.Y < 0 || area.Width <= 0 || area.Height <= 0) return std::nullopt;
  // A file shorter than its header declares shows nothing, whichever rows the area needs, as it shows
  // nothing through a decoder that reads the whole frame first.
  if (stored.file->size() < stored.layout.dataEnd()) return std::nullopt;
  const auto depth = static_cast<WORD>(stored.layout.shownBitsPerPixel());
  const std::uint64_t stride = dibStride(area.Width, depth);
  void* bits = nullptr;
  Picture picture;
  picture.bitmap = topDownDib(area.Width, area.Height, depth, &bits);
  if (!picture.bitmap || bits == nullptr) return std::nullopt;
  // The DIB section holds these bytes, so their count fits a size_t.
  const std::span out(static_cast<std::uint8_t*>(bits),
                      static_cast<std::size_t>(stride * static_cast<UINT>(area.Height)));
  const picture::PixelArea pixels{static_cast<std::uint32_t>(area.X), static_cast<std::uint32_t>(area.Y),
                                  static_cast<std::uint32_t>(area.Width), static_cast<std::uint32_t>(area.Height)};
  if (!picture::readBitmapArea(*stored.file, stored.layout, pixels, out, static_cast<std::size_t>(stride))) {
    return std::nullopt;
  }
  picture.width = area.Width;
  picture.height = area.Height;
  return picture;
}

// The file, unless it cannot be opened or its header declares a frame beyond the limit. Asked before
// a decoder is made for the file, since some decoders expand the whole frame as soon as they are
// given it.
std::unique_ptr<FileBytes> openWithinLimit(const std::wstring& path, picture::ReadProgress* progress) {
  auto file = std::make_unique<FileBytes>(path, progress);
  if (!file->opened()) return nullptr;
  const auto declared = picture::readDeclaredFrame(*file);
  if (declared && !picture::decoderCanHold(declared->width, declared->height, declared->bitsPerPixel)) return nullptr;
  return file;
}

std::optional<PictureFrame> storedFrame(std::unique_ptr<FileBytes> file, const picture::BitmapLayout& layout) {
  if (!picture::decoderCanHold(layout.width, layout.height, layout.bitsPerPixel)) return std::nullopt;
  PictureFrame opened;
  opened.width = static_cast<int>(layout.width);
  opened.height = static_cast<int>(layout.height);
  opened.stored = StoredBitmap{std::move(file), layout};
  return opened;
}

}  // namespace

PictureDecoder::PictureDecoder() {
  // Without a factory every picture fails to open, as an unreadable file would.
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                   reinterpret_cast<void**>(factory_.put()));
}

std::optional<PictureFrame> PictureDecoder::open(const std::wstring& path, picture::ReadProgress* progress) const {
  if (path.empty() || !factory_) return std::nullopt;
  const QuietDriveErrors quiet;
  auto file = openWithinLimit(path, progress);
  if (!file) return std::nullopt;
  if (const auto layout = picture::readBitmapLayout(*file)) return storedFrame(std::move(file), *layout);
  return decoderFrame(std::move(file));
}

std::optional<PictureFrame> PictureDecoder::decoderFrame(std::unique_ptr<FileBytes> file) const {
  // The decoder reads through the stream, whose reads mark their progress; it keeps the stream, and
  // with it the file, for as long as the frame lives.
  const UniqueCom<IStream> stream = fileStream(std::move(file));
  UniqueCom<IWICBitmapDecoder> decoder;
  if (!stream || FAILED(factory_.get()->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                                decoder.put()))) {
    return std::nullopt;
  }
  PictureFrame opened;
  UINT width = 0;
  UINT height = 0;
  WICPixelFormatGUID format{};
  if (FAILED(decoder.get()->GetFrame(0, opened.frame.put())) || FAILED(opened.frame.get()->GetSize(&width, &height)) ||
      FAILED(opened.frame.get()->GetPixelFormat(&format))) {
    return std::nullopt;
  }
  const auto bits = bitsPerPixel(factory_.get(), format);
  if (!bits || !picture::decoderCanHold(width, height, *bits)) return std::nullopt;
  opened.width = static_cast<int>(width);
  opened.height = static_cast<int>(height);
  return opened;
}

std::optional<Picture> PictureDecoder::decodeArea(const PictureFrame& frame, const WICRect& area) const {
  const QuietDriveErrors quiet;
  if (frame.stored) return readStoredArea(*frame.stored, area);
  return decode(frame.frame.get(), area);
}

std::optional<Picture> PictureDecoder::decodeToFill(const std::wstring& path, SIZE box,
                                                    picture::ReadProgress* progress) const {
  if (path.empty() || !factory_) return std::nullopt;
  const QuietDriveErrors quiet;
  auto file = openWithinLimit(path, progress);
  const auto frame = file ? decoderFrame(std::move(file)) : std::nullopt;
  if (!frame) return std::nullopt;
  const INT width = static_cast<INT>(std::min<LONGLONG>(frame->width, LONGLONG{box.cx} * 2));
  const INT height = static_cast<INT>(std::min<LONGLONG>(frame->height, LONGLONG{box.cy} * 2));
  if (width == frame->width && height == frame->height) return decode(frame->frame.get(), WICRect{0, 0, width, height});
  UniqueCom<IWICBitmapScaler> scaler;
  if (FAILED(factory_.get()->CreateBitmapScaler(scaler.put())) ||
      FAILED(scaler.get()->Initialize(frame->frame.get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                      WICBitmapInterpolationModeFant))) {
    return std::nullopt;
  }
  return decode(scaler.get(), WICRect{0, 0, width, height});
}

std::optional<Picture> PictureDecoder::decode(IWICBitmapSource* source, const WICRect& area) const {
  WICPixelFormatGUID format{};
  if (FAILED(source->GetPixelFormat(&format))) return std::nullopt;
  if (const auto depth = drawableDepth(format)) return copyInBands(source, *depth, area);
  UniqueCom<IWICFormatConverter> converter;
  if (FAILED(factory_.get()->CreateFormatConverter(converter.put())) ||
      FAILED(converter.get()->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  return copyInBands(converter.get(), 32, area);
}

}  // namespace slidewell::win

#include "win/picture_file.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "picture/bmp_reader.h"
#include "picture/byte_reader.h"
#include "win/handles.h"

namespace slidewell::win {
namespace {

constexpr picture::Bgra kBlack{0, 0, 0, 255};

// A top-down 32-bit DIB section, its pixels zero (transparent black) and in `pixels`.
std::optional<Picture> blankPicture(INT width, INT height, std::span<picture::Bgra>& pixels) {
  if (width <= 0 || height <= 0) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Picture picture;
  picture.bitmap = UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture.bitmap || bits == nullptr) return std::nullopt;
  picture.width = width;
  picture.height = height;
  // The DIB section holds these pixels, so their count fits a size_t.
  pixels =
      std::span(static_cast<picture::Bgra*>(bits), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  return picture;
}

picture::Bgra bgraOf(COLORREF colour) {
  return picture::Bgra{GetBValue(colour), GetGValue(colour), GetRValue(colour), 255};
}

// Premultiplied pixels laid over `background`.
void layOver(std::span<picture::Bgra> pixels, picture::Bgra background) {
  const auto over = [](std::uint8_t colour, std::uint8_t alpha, std::uint8_t under) {
    return static_cast<std::uint8_t>(std::min(255, colour + (under * (255 - alpha) + 127) / 255));
  };
  for (picture::Bgra& p : pixels)
    p = {over(p.b, p.a, background.b), over(p.g, p.a, background.g), over(p.r, p.a, background.r), 255};
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

std::optional<Picture> copyInBands(IWICBitmapSource* source, const WICRect& area) {
  // In bands of rows: a converter or scaler may hold a copy of all the source pixels that it is asked
  // for at once, and a band keeps that copy small.
  constexpr INT kBandRows = 64;
  const std::uint64_t stride = std::uint64_t{static_cast<UINT>(std::max(area.Width, 0))} * 4;
  if (stride * kBandRows > UINT_MAX) return std::nullopt;
  std::span<picture::Bgra> pixels;
  auto picture = blankPicture(area.Width, area.Height, pixels);
  if (!picture) return std::nullopt;
  for (INT top = 0; top < area.Height; top += kBandRows) {
    const INT rows = std::min(kBandRows, area.Height - top);
    const WICRect band{area.X, area.Y + top, area.Width, rows};
    auto* const start =
        reinterpret_cast<BYTE*>(pixels.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(area.Width));
    const auto bandBytes = static_cast<UINT>(stride * static_cast<UINT>(rows));
    if (FAILED(source->CopyPixels(&band, static_cast<UINT>(stride), bandBytes, start))) return std::nullopt;
  }
  return picture;
}

std::optional<Picture> readStoredArea(const StoredBitmap& stored, const WICRect& area) {
  if (area.X < 0 || area.Y < 0) return std::nullopt;
  std::span<picture::Bgra> pixels;
  auto picture = blankPicture(area.Width, area.Height, pixels);
  if (!picture) return std::nullopt;
  picture::ByteReader file(*stored.file);
  const picture::PixelArea shown{static_cast<std::uint32_t>(area.X), static_cast<std::uint32_t>(area.Y),
                                 static_cast<std::uint32_t>(area.Width), static_cast<std::uint32_t>(area.Height)};
  if (!picture::readBmpArea(file, stored.layout, shown, pixels, kBlack)) return std::nullopt;
  return picture;
}

std::optional<Picture> readStoredToFill(const StoredBitmap& stored, SIZE box, COLORREF background) {
  const INT width =
      static_cast<INT>(std::min<LONGLONG>(stored.layout.width, std::max<LONGLONG>(1, LONGLONG{box.cx} * 2)));
  const INT height =
      static_cast<INT>(std::min<LONGLONG>(stored.layout.height, std::max<LONGLONG>(1, LONGLONG{box.cy} * 2)));
  std::span<picture::Bgra> pixels;
  auto picture = blankPicture(width, height, pixels);
  if (!picture) return std::nullopt;
  picture::ByteReader file(*stored.file);
  if (!picture::readBmpScaled(file, stored.layout, static_cast<std::uint32_t>(width),
                              static_cast<std::uint32_t>(height), pixels, bgraOf(background))) {
    return std::nullopt;
  }
  return picture;
}

}  // namespace

IWICImagingFactory* PictureDecoder::factory() const {
  if (!factoryTried_) {
    factoryTried_ = true;
    com_.emplace(COINIT_MULTITHREADED);
    createInstance(CLSID_WICImagingFactory, IID_IWICImagingFactory, reinterpret_cast<void**>(factory_.put()));
  }
  return factory_.get();
}

std::optional<PictureFrame> PictureDecoder::open(const std::wstring& path, picture::ReadProgress* progress) const {
  if (path.empty()) return std::nullopt;
  const QuietDriveErrors quiet;
  auto file = std::make_unique<FileBytes>(path, progress);
  if (!file->opened()) return std::nullopt;
  picture::ByteReader bytes(*file);
  const auto header = picture::readPictureHeader(bytes);
  if (!header) return std::nullopt;
  if (const auto* layout = std::get_if<picture::BmpLayout>(&*header)) {
    // Within the limit, the sides fit an int.
    return PictureFrame{StoredBitmap{std::move(file), *layout}, static_cast<int>(layout->width),
                        static_cast<int>(layout->height)};
  }
  return decoderFrame(std::move(file), std::get<picture::DecoderInput>(*header));
}

std::optional<PictureFrame> PictureDecoder::decoderFrame(std::unique_ptr<FileBytes> file,
                                                         const picture::DecoderInput& input) const {
  // The decoder reads through the stream, whose reads mark their progress; it keeps the stream, and
  // with it the file, for as long as the frame lives.
  const UniqueCom<IStream> stream = fileStream(std::move(file), input.offset, input.length);
  if (!stream) return std::nullopt;
  UniqueCom<IWICBitmapDecoder> decoder;
  IWICImagingFactory* const imaging = factory();
  if (imaging == nullptr) return std::nullopt;
  if (input.format == picture::DecoderInput::Format::Any) {
    if (FAILED(
            imaging->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))) {
      return std::nullopt;
    }
  } else {
    const GUID& container =
        input.format == picture::DecoderInput::Format::Jpeg ? GUID_ContainerFormatJpeg : GUID_ContainerFormatPng;
    if (FAILED(imaging->CreateDecoder(container, nullptr, decoder.put())) ||
        FAILED(decoder.get()->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand))) {
      return std::nullopt;
    }
  }
  DecoderFrame opened;
  UINT width = 0;
  UINT height = 0;
  WICPixelFormatGUID format{};
  if (FAILED(decoder.get()->GetFrame(0, opened.frame.put())) || FAILED(opened.frame.get()->GetSize(&width, &height)) ||
      FAILED(opened.frame.get()->GetPixelFormat(&format)) || width > INT_MAX || height > INT_MAX) {
    return std::nullopt;
  }
  // A header this program could not read leaves the limit to be judged here, once the decoder is open.
  if (!input.declared) {
    const auto bits = bitsPerPixel(imaging, format);
    if (!bits || !picture::decoderCanHold(width, height, *bits)) return std::nullopt;
  }
  return PictureFrame{std::move(opened), static_cast<int>(width), static_cast<int>(height)};
}

std::optional<Picture> PictureDecoder::decodeArea(const PictureFrame& frame, const WICRect& area) const {
  const QuietDriveErrors quiet;
  if (const auto* stored = std::get_if<StoredBitmap>(&frame.source)) return readStoredArea(*stored, area);
  return decode(std::get<DecoderFrame>(frame.source).frame.get(), area);
}

std::optional<Picture> PictureDecoder::decodeToFill(const std::wstring& path, SIZE box, COLORREF background,
                                                    picture::ReadProgress* progress) const {
  const auto frame = open(path, progress);
  if (!frame) return std::nullopt;
  const QuietDriveErrors quiet;
  if (const auto* stored = std::get_if<StoredBitmap>(&frame->source)) return readStoredToFill(*stored, box, background);
  IWICBitmapFrameDecode* const source = std::get<DecoderFrame>(frame->source).frame.get();
  const INT width = static_cast<INT>(std::min<LONGLONG>(frame->width, LONGLONG{box.cx} * 2));
  const INT height = static_cast<INT>(std::min<LONGLONG>(frame->height, LONGLONG{box.cy} * 2));
  std::optional<Picture> picture;
  if (width == frame->width && height == frame->height) {
    picture = decode(source, WICRect{0, 0, width, height});
  } else {
    UniqueCom<IWICBitmapScaler> scaler;
    if (width <= 0 || height <= 0 || factory() == nullptr || FAILED(factory()->CreateBitmapScaler(scaler.put())) ||
        FAILED(scaler.get()->Initialize(source, static_cast<UINT>(width), static_cast<UINT>(height),
                                        WICBitmapInterpolationModeFant))) {
      return std::nullopt;
    }
    picture = decode(scaler.get(), WICRect{0, 0, width, height});
  }
  if (!picture) return std::nullopt;
  DIBSECTION dib{};
  if (GetObjectW(picture->bitmap.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr)
    return std::nullopt;
  layOver(std::span(static_cast<picture::Bgra*>(dib.dsBm.bmBits),
                    static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height)),
          bgraOf(background));
  return picture;
}

std::optional<Picture> PictureDecoder::decode(IWICBitmapSource* source, const WICRect& area) const {
  WICPixelFormatGUID format{};
  if (FAILED(source->GetPixelFormat(&format))) return std::nullopt;
  if (format == GUID_WICPixelFormat32bppPBGRA) return copyInBands(source, area);
  UniqueCom<IWICFormatConverter> converter;
  if (factory() == nullptr || FAILED(factory()->CreateFormatConverter(converter.put())) ||
      FAILED(converter.get()->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  return copyInBands(converter.get(), area);
}

}  // namespace slidewell::win

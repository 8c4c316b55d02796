#include "win/picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <cstddef>

#include "win/com.h"
#include "win/quiet_drive_errors.h"

namespace slidewell::win {
namespace {

UniqueBitmap topDownDib(UINT width, UINT height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

std::optional<Picture> loadPicture(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  const QuietDriveErrors quiet;

  UniqueCom<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put())))) {
    return std::nullopt;
  }
  UniqueCom<IWICBitmapDecoder> decoder;
  if (FAILED(factory.get()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnDemand, decoder.put()))) {
    return std::nullopt;
  }
  UniqueCom<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder.get()->GetFrame(0, frame.put()))) return std::nullopt;

  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame.get()->GetSize(&width, &height)) || width == 0 || height == 0 ||
      std::uint64_t{width} * height > kMaxPicturePixels) {
    return std::nullopt;
  }

  UniqueCom<IWICFormatConverter> converter;
  if (FAILED(factory.get()->CreateFormatConverter(converter.put())) ||
      FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                         nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }

  void* bits = nullptr;
  Picture picture;
  picture.bitmap = topDownDib(width, height, &bits);
  if (!picture.bitmap || bits == nullptr) return std::nullopt;
  // In bands of rows: a converter may hold a copy of the whole source area it is asked for, and a
  // band keeps that copy small. Within the pixel limit a band's size fits a UINT.
  constexpr UINT kBandRows = 64;
  const UINT stride = width * 4;
  for (UINT top = 0; top < height; top += kBandRows) {
    const UINT rowsInBand = std::min(kBandRows, height - top);
    const WICRect band{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rowsInBand)};
    BYTE* const rows = static_cast<BYTE*>(bits) + std::size_t{top} * stride;
    if (FAILED(converter.get()->CopyPixels(&band, stride, stride * rowsInBand, rows))) {
      return std::nullopt;
    }
  }
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  return picture;
}

}  // namespace slidewell::win

#include "picture_encoder.h"

#include <wincodec.h>

#include "win/com.h"

namespace slidewell::testing_support {

bool encodePicture(const std::wstring& path, const GUID& container, UINT width, UINT height,
                   const std::vector<std::uint8_t>& bgra) {
  if (bgra.size() != std::size_t{width} * height * 4) return false;
  win::UniqueCom<IWICImagingFactory> factory;
  win::UniqueCom<IWICStream> stream;
  win::UniqueCom<IWICBitmapEncoder> encoder;
  win::UniqueCom<IWICBitmapFrameEncode> frame;
  win::UniqueCom<IPropertyBag2> options;
  win::UniqueCom<IWICBitmap> source;
  const UINT stride = width * 4;
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.put()))) &&
         SUCCEEDED(factory->CreateStream(stream.put())) &&
         SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.put())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())) &&
         SUCCEEDED(frame->Initialize(options.get())) && SUCCEEDED(frame->SetSize(width, height)) &&
         SUCCEEDED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, stride, stride * height,
                                                   const_cast<BYTE*>(bgra.data()), source.put())) &&
         SUCCEEDED(frame->WriteSource(source.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
         SUCCEEDED(encoder->Commit());
}

}  // namespace slidewell::testing_support

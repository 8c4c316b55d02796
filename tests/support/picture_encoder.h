#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace slidewell::testing_support {

// Writes a picture file in the given WIC container format (GUID_ContainerFormatPng, ...Jpeg, ...Gif,
// ...Tiff, ...Bmp) from 32-bit BGRA pixels, top row first. COM must be initialised on the thread.
bool encodePicture(const std::wstring& path, const GUID& container, UINT width, UINT height,
                   const std::vector<std::uint8_t>& bgra);

}  // namespace slidewell::testing_support

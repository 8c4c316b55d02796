#pragma once

#include <cstdint>
#include <optional>

#include "picture/byte_source.h"

namespace slidewell::picture {

// The size of a picture's first frame as its header declares it, and the depth at which a decoder
// holds that frame: the file's own samples (PNG, TIFF, BMP), a byte a pixel for GIF's palette indices,
// a byte per colour component for JPEG, 32 bits for a run-length coded BMP, which decoders expand.
// The depth is never 0.
struct DeclaredFrame {
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  std::uint32_t bitsPerPixel = 0;

  bool operator==(const DeclaredFrame&) const = default;
};

// Reads the header of a PNG, GIF, TIFF (also BigTIFF, either byte order), JPEG or BMP file.
// nullopt when the file is of another format, or its header is cut short or makes no sense: the
// decoder, which also reads variants that this reading does not know, judges such a file itself.
// Reads only the header: for JPEG the segments before the frame's, for TIFF the first directory.
std::optional<DeclaredFrame> readDeclaredFrame(const ByteSource& file);

}  // namespace slidewell::picture

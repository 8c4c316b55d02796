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

// The program keeps at most the part of a picture that it shows, but the platform's decoders keep
// their own copy of the whole frame at its own depth while they serve any part of it (Wine's PNG
// decoder expands it as soon as it is given the file; its BMP and JPEG decoders read the whole frame
// first). That copy is what a picture costs, so it sets the limit, 1 GiB on both builds: a bigger frame
// costs seconds and more than a gigabyte to decode, however little of it is shown, and in a 32-bit
// address space a block that size is seldom found in one piece; with one limit, both builds show the
// same pictures. A 24-bit panorama of 350 Mpx still opens; its sides must also fit a WICRect.
inline constexpr std::uint64_t kMaxDecodedFrameBytes = std::uint64_t{1} << 30;

// Whether a decoder can be expected to hold a frame of this size and depth (see above).
bool decoderCanHold(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel);

}  // namespace slidewell::picture

#pragma once

#include <cstdint>
#include <optional>
#include <variant>

#include "picture/bmp_header.h"
#include "picture/byte_reader.h"

namespace slidewell::picture {

// The size of a picture's first frame as its header declares it, and the depth at which a decoder
// holds that frame: the file's own samples (PNG, TIFF), a byte a pixel for GIF's palette indices, a
// byte per colour component for JPEG. The depth is never 0.
struct DeclaredFrame {
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  std::uint32_t bitsPerPixel = 0;

  bool operator==(const DeclaredFrame&) const = default;
};

// Reads the header of a PNG, GIF, TIFF (also BigTIFF, either byte order) or JPEG file.
// nullopt when the file is of another format, or its header is cut short or makes no sense: the
// decoder, which also reads variants that this reading does not know, judges such a file itself.
// Reads only the header: for JPEG the segments before the frame's, for TIFF the first directory.
std::optional<DeclaredFrame> readDeclaredFrame(ByteReader& file);

// The program keeps at most the part of a picture that it shows, but the platform's decoders keep
// their own copy of the whole frame at its own depth while they serve any part of it (Wine's PNG
// decoder expands it as soon as it is given the file; its JPEG decoder reads the whole frame first).
// That copy is what a picture costs, so it sets the limit, 1 GiB on both builds: a bigger frame costs
// seconds and more than a gigabyte to decode, however little of it is shown, and in a 32-bit address
// space a block that size is seldom found in one piece; with one limit, both builds show the same
// pictures. Bitmaps, which the program reads itself, are held to the same limit at their own depth
// (32 bits when run-length coded). A 24-bit panorama of 350 Mpx still opens; its sides must also fit
// a WICRect.
inline constexpr std::uint64_t kMaxDecodedFrameBytes = std::uint64_t{1} << 30;

// Whether a decoder can be expected to hold a frame of this size and depth (see above).
bool decoderCanHold(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel);

// A picture for the platform's decoder: the bytes it is given, and what its header declares.
struct DecoderInput {
  enum class Format { Any, Jpeg, Png };
  Format format = Format::Any;  // a JPEG or PNG stored inside a bitmap goes to that decoder only
  std::uint64_t offset = 0;     // of the picture's bytes in the file
  std::uint64_t length = 0;
  // The frame its header declares (within the limit), when the header could be read; otherwise the
  // decoder's frame must be judged by the limit once it is open.
  std::optional<DeclaredFrame> declared;
};

// What a picture file is, from its header, read once: a bitmap for the program's own reader, or a
// picture for the platform's decoder.
using PictureHeader = std::variant<BmpLayout, DecoderInput>;

// Reads the header of any picture file and judges it by the limit. nullopt when the file is refused:
// its header declares a frame beyond the limit, or it is a BMP file that readBmpLayout does not read.
std::optional<PictureHeader> readPictureHeader(ByteReader& file);

}  // namespace slidewell::picture

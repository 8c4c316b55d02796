#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>

#include "memory_bytes.h"
#include "picture/picture_header.h"

// Reads the header of whatever bytes it is given as a picture file. No read may ask for a byte past
// the end, and what the header lets through is within the limit and, where it names pixel data, lies
// inside the bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace slidewell::picture;
  const slidewell::testing_support::MemoryBytes bytes(std::span(data, size));
  ByteReader file(bytes);
  const auto header = readPictureHeader(file);
  if (bytes.readsOutside() != 0) std::abort();
  if (!header) return 0;
  if (const auto* layout = std::get_if<BmpLayout>(&*header)) {
    if (!decoderCanHold(layout->width, layout->height, layout->frameBitsPerPixel())) std::abort();
    if (layout->coding != BmpCoding::Plain && layout->dataOffset + layout->dataSize > size) std::abort();
    return 0;
  }
  const auto& input = std::get<DecoderInput>(*header);
  if (input.offset > size || input.length > size - input.offset) std::abort();
  const auto& declared = input.declared;
  if (declared && !decoderCanHold(declared->width, declared->height, declared->bitsPerPixel)) std::abort();
  return 0;
}

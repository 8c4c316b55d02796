#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "memory_bytes.h"
#include "picture/bitmap_rows.h"

// Reads the layout of whatever bytes it is given and, when they look like a bitmap, copies the
// corners of the picture it declares into buffers of exactly their size.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace slidewell::picture;
  const slidewell::testing_support::MemoryBytes file(std::span(data, size));
  const auto layout = readBitmapLayout(file);
  if (!layout) return 0;
  if (layout->dataEnd() < layout->pixelOffset) std::abort();  // the declared end must not wrap round
  const std::uint32_t width = std::min<std::uint32_t>(layout->width, 64);
  const std::uint32_t height = std::min<std::uint32_t>(layout->height, 64);
  const std::size_t stride = (width * layout->shownBitsPerPixel() / 8 + 3) / 4 * 4;
  std::vector<std::uint8_t> out(stride * height);
  for (const PixelArea& area :
       {PixelArea{0, 0, width, height}, PixelArea{layout->width - width, layout->height - height, width, height}}) {
    readBitmapArea(file, *layout, area, out, stride);
  }
  return 0;
}

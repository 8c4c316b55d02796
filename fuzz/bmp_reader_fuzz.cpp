#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "memory_bytes.h"
#include "picture/bmp_reader.h"

namespace {

using namespace slidewell::picture;

constexpr Bgra kBackground{10, 20, 30, 255};

// Reads `area` into a buffer of exactly its size; empty when the reader refuses it.
std::vector<Bgra> readArea(ByteReader& file, const BmpLayout& layout, const PixelArea& area) {
  std::vector<Bgra> out(std::size_t{area.width} * area.height);
  if (!readBmpArea(file, layout, area, out, kBackground)) return {};
  return out;
}

void checkOpaque(const std::vector<Bgra>& pixels) {
  if (std::any_of(pixels.begin(), pixels.end(), [](const Bgra& p) { return p.a != 255; })) std::abort();
}

// Reads the layout of whatever bytes it is given and, when they are a bitmap that the reader reads,
// the picture's corners at one pixel to one pixel and the whole picture averaged down, each into a
// buffer of exactly its size. No read may ask for a byte past the end; every pixel given is opaque; a
// small picture averaged down to its own size reads as it does whole; and of a small picture without
// alpha (whose look does not depend on which pixels were read), an area reads as that part of the whole.
void readEveryWay(ByteReader& file) {
  const auto layout = readBmpLayout(file);
  if (!layout) return;
  const std::uint32_t width = std::min<std::uint32_t>(layout->width, 64);
  const std::uint32_t height = std::min<std::uint32_t>(layout->height, 64);
  const auto first = readArea(file, *layout, {0, 0, width, height});
  const auto last = readArea(file, *layout, {layout->width - width, layout->height - height, width, height});
  checkOpaque(first);
  checkOpaque(last);

  const bool small = width == layout->width && height == layout->height;
  if (small && !first.empty() && !layout->hasAlpha()) {
    const PixelArea part{width / 2, height / 2, width - width / 2, height - height / 2};
    const auto inside = readArea(file, *layout, part);
    if (inside.empty()) std::abort();
    for (std::uint32_t y = 0; y < part.height; ++y) {
      for (std::uint32_t x = 0; x < part.width; ++x) {
        if (!(inside[y * part.width + x] == first[(part.top + y) * width + part.left + x])) std::abort();
      }
    }
  }
  if (std::uint64_t{layout->width} * layout->height <= 1 << 16) {
    const std::uint32_t toWidth = std::min<std::uint32_t>(layout->width, 8);
    const std::uint32_t toHeight = std::min<std::uint32_t>(layout->height, 8);
    std::vector<Bgra> scaled(std::size_t{toWidth} * toHeight);
    if (readBmpScaled(file, *layout, toWidth, toHeight, scaled, kBackground)) {
      checkOpaque(scaled);
      if (small && toWidth == width && toHeight == height && scaled != first) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const slidewell::testing_support::MemoryBytes bytes(std::span(data, size));
  ByteReader file(bytes);
  readEveryWay(file);
  if (bytes.readsOutside() != 0) std::abort();
  return 0;
}

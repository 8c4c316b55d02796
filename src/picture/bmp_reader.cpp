#include "picture/bmp_reader.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "picture/bmp_pixels.h"

namespace slidewell::picture {
namespace {

constexpr std::size_t kBandBytes = 256 * 1024;  // whole rows read at once
constexpr std::size_t kChunkBytes = 64 * 1024;  // of a long span, read at once
constexpr std::size_t kCodeBlockBytes = 64 * 1024;
constexpr Bgra kBlack{0, 0, 0, 255};

// A buffer of `count` elements, or none when no memory is to be had: sizes come from the file.
template <typename T>
std::unique_ptr<T[]> buffer(std::uint64_t count) {
  if (count > SIZE_MAX / sizeof(T)) return nullptr;
  return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<std::size_t>(count)]);
}

std::uint8_t over(std::uint8_t colour, std::uint8_t alpha, std::uint8_t background) {
  return static_cast<std::uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

// Where the rows of an area go. The readers give every row of the area once, in the file's order:
// begin() gives where the row's span goes, end() says that it is written.
class RowTarget {
 public:
  virtual ~RowTarget() = default;
  virtual Bgra* begin(std::uint32_t y) = 0;
  virtual void end(std::uint32_t y) = 0;
  // After the last row: lays alpha over the background, or makes the picture opaque.
  virtual void finish() = 0;
};

// The area at one pixel to one pixel, straight into its place.
class AreaTarget final : public RowTarget {
 public:
  AreaTarget(const BmpLayout& layout, const PixelArea& area, std::span<Bgra> out, Bgra background)
      : alpha_(layout.hasAlpha()), area_(area), out_(out), background_(background) {}

  Bgra* begin(std::uint32_t y) override { return out_.data() + std::size_t{y - area_.top} * area_.width; }
  void end(std::uint32_t y) override {
    if (!alpha_ || seenAlpha_) return;
    const Bgra* row = begin(y);
    seenAlpha_ = std::any_of(row, row + area_.width, [](const Bgra& p) { return p.a != 0; });
  }
  void finish() override {
    if (!alpha_) return;  // every pixel was made opaque as it was read
    for (Bgra& p : out_) {
      if (seenAlpha_)
        p = Bgra{over(p.b, p.a, background_.b), over(p.g, p.a, background_.g), over(p.r, p.a, background_.r), 255};
      p.a = 255;
    }
  }

 private:
  bool alpha_;
  bool seenAlpha_ = false;
  PixelArea area_;
  std::span<Bgra> out_;
  Bgra background_;
};

// The whole picture averaged down: each pixel of the picture falls in one pixel of `out`, the one at
// x x width / picture width, y x height / picture height.
class ScaledTarget final : public RowTarget {
 public:
  ScaledTarget(const BmpLayout& layout, std::uint32_t width, std::uint32_t height, std::span<Bgra> out, Bgra background)
      : alpha_(layout.hasAlpha()),
        pictureWidth_(layout.width),
        pictureHeight_(layout.height),
        width_(width),
        height_(height),
        out_(out),
        background_(background),
        row_(buffer<Bgra>(layout.width)),
        sums_(buffer<Sums>(width)),
        laid_(alpha_ ? buffer<Bgra>(out.size()) : nullptr) {
    if (sums_) std::fill_n(sums_.get(), width_, Sums{});
  }

  bool ready() const { return row_ && sums_ && (!alpha_ || laid_); }

  Bgra* begin(std::uint32_t) override { return row_.get(); }
  void end(std::uint32_t y) override {
    const auto target = static_cast<std::uint32_t>(std::uint64_t{y} * height_ / pictureHeight_);
    if (target != rowInSums_ && filled_) flush();
    rowInSums_ = target;
    filled_ = true;
    std::uint64_t step = 0;
    Sums* sums = sums_.get();
    for (std::uint32_t x = 0; x < pictureWidth_; ++x) {
      const Bgra& p = row_[x];
      sums->add(p);
      seenAlpha_ = seenAlpha_ || p.a != 0;
      step += width_;
      if (step >= pictureWidth_) {
        step -= pictureWidth_;
        ++sums;
      }
    }
  }
  void finish() override {
    if (filled_) flush();
    if (alpha_ && seenAlpha_) {
      std::copy_n(laid_.get(), out_.size(), out_.begin());
      return;
    }
    for (Bgra& p : out_) p.a = 255;
  }

 private:
  struct Sums {
    std::uint64_t b = 0, g = 0, r = 0, a = 0;  // as stored
    std::uint64_t pb = 0, pg = 0, pr = 0;      // each weighted by its alpha
    std::uint64_t count = 0;
    void add(const Bgra& p) {
      b += p.b;
      g += p.g;
      r += p.r;
      a += p.a;
      pb += std::uint64_t{p.b} * p.a;
      pg += std::uint64_t{p.g} * p.a;
      pr += std::uint64_t{p.r} * p.a;
      ++count;
    }
  };

  static std::uint8_t average(std::uint64_t sum, std::uint64_t count) {
    return static_cast<std::uint8_t>((sum + count / 2) / count);
  }
  // The average laid over the background: the colours weighted by alpha, the rest background.
  static std::uint8_t laid(std::uint64_t weighted, std::uint64_t alphas, std::uint64_t count, std::uint8_t background) {
    const std::uint64_t whole = 255 * count;
    return static_cast<std::uint8_t>((weighted + background * (whole - alphas) + whole / 2) / whole);
  }

  void flush() {
    Bgra* plain = out_.data() + std::size_t{rowInSums_} * width_;
    Bgra* laid = laid_ ? laid_.get() + std::size_t{rowInSums_} * width_ : nullptr;
    for (std::uint32_t x = 0; x < width_; ++x) {
      Sums& s = sums_[x];
      if (s.count != 0) {
        plain[x] = Bgra{average(s.b, s.count), average(s.g, s.count), average(s.r, s.count), 255};
        if (laid != nullptr) {
          laid[x] = Bgra{this->laid(s.pb, s.a, s.count, background_.b), this->laid(s.pg, s.a, s.count, background_.g),
                         this->laid(s.pr, s.a, s.count, background_.r), 255};
        }
      }
      s = Sums{};
    }
    filled_ = false;
  }

  bool alpha_;
  bool seenAlpha_ = false;
  std::uint32_t pictureWidth_;
  std::uint32_t pictureHeight_;
  std::uint32_t width_;
  std::uint32_t height_;
  std::span<Bgra> out_;
  Bgra background_;
  std::unique_ptr<Bgra[]> row_;
  std::unique_ptr<Sums[]> sums_;
  std::unique_ptr<Bgra[]> laid_;
  std::uint32_t rowInSums_ = 0;
  bool filled_ = false;
};

// The row of the picture that a row of the file holds, counting both from 0.
std::uint32_t pictureRow(const BmpLayout& layout, std::uint32_t stored) {
  return layout.topDown ? stored : layout.height - 1 - stored;
}
// Which row of the file holds the area's first row in the file's order.
std::uint32_t firstStoredRow(const BmpLayout& layout, const PixelArea& area) {
  return layout.topDown ? area.top : layout.height - (area.top + area.height);
}

bool readPlain(ByteReader& file, const BmpLayout& layout, const PixelArea& area, RowTarget& target) {
  if (!file.holds(layout.dataOffset, layout.dataSize)) return false;
  const StoredPixels pixels(layout);
  const std::uint64_t bits = layout.bitsPerPixel;
  const std::uint32_t first = firstStoredRow(layout, area);
  const auto rowStart = [&](std::uint32_t stored) { return layout.dataOffset + std::uint64_t{stored} * layout.stride; };

  if (area.width == layout.width && layout.stride <= kBandBytes) {
    const std::uint32_t bandRows = static_cast<std::uint32_t>(kBandBytes / layout.stride);
    const auto band = buffer<std::uint8_t>(std::min<std::uint64_t>(bandRows, area.height) * layout.stride);
    if (!band) return false;
    for (std::uint32_t done = 0; done < area.height;) {
      const std::uint32_t rows = std::min(bandRows, area.height - done);
      const std::span bytes(band.get(), static_cast<std::size_t>(rows * layout.stride));
      if (!file.readDirect(rowStart(first + done), bytes)) return false;
      for (std::uint32_t i = 0; i < rows; ++i) {
        const std::uint32_t y = pictureRow(layout, first + done + i);
        pixels.convert(bytes.data() + i * layout.stride, 0, area.width, target.begin(y));
        target.end(y);
      }
      done += rows;
    }
    return true;
  }

  // A span at a time: of a long one, pieces of a whole number of bytes.
  const std::uint32_t chunkPixels =
      static_cast<std::uint32_t>(std::max<std::uint64_t>(8, kChunkBytes * 8 / bits / 8 * 8));
  const std::uint32_t piece = std::min(chunkPixels, area.width);
  const auto chunk = buffer<std::uint8_t>((piece * bits + 7) / 8 + 1);
  if (!chunk) return false;
  for (std::uint32_t i = 0; i < area.height; ++i) {
    const std::uint32_t y = pictureRow(layout, first + i);
    Bgra* row = target.begin(y);
    for (std::uint32_t done = 0; done < area.width;) {
      const std::uint32_t count = std::min(piece, area.width - done);
      const std::uint64_t firstBit = std::uint64_t{area.left + done} * bits;
      const std::uint64_t endByte = (std::uint64_t{area.left + done + count} * bits + 7) / 8;
      const std::span bytes(chunk.get(), static_cast<std::size_t>(endByte - firstBit / 8));
      if (!file.readDirect(rowStart(first + i) + firstBit / 8, bytes)) return false;
      pixels.convert(bytes.data(), static_cast<unsigned>(firstBit % 8), count, row + done);
      done += count;
    }
    target.end(y);
  }
  return true;
}

// The coded data, read in order a block at a time; it ends where the data or the file does.
class CodeReader {
 public:
  CodeReader(ByteReader& file, std::uint64_t start, std::uint64_t size)
      : file_(file), next_(start), left_(size), block_(buffer<std::uint8_t>(kCodeBlockBytes)) {}

  bool ready() const { return static_cast<bool>(block_); }
  bool next(std::uint8_t& byte) {
    if (at_ == filled_) {
      const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kCodeBlockBytes, left_));
      if (count == 0 || !file_.readDirect(next_, std::span(block_.get(), count))) return false;
      next_ += count;
      left_ -= count;
      at_ = 0;
      filled_ = count;
    }
    byte = block_[at_++];
    return true;
  }

 private:
  ByteReader& file_;
  std::uint64_t next_;
  std::uint64_t left_;
  std::unique_ptr<std::uint8_t[]> block_;
  std::size_t at_ = 0;
  std::size_t filled_ = 0;
};

// One pass over run-length codes, from the picture's first stored row to the area's last one.
class RunLengthDecoder {
 public:
  RunLengthDecoder(const BmpLayout& layout, const PixelArea& area, RowTarget& target, CodeReader& codes)
      : layout_(layout),
        area_(area),
        target_(target),
        codes_(codes),
        first_(firstStoredRow(layout, area)),
        last_(first_ + area.height - 1) {}

  void decode() {
    beginRow();
    std::uint8_t count = 0;
    std::uint8_t code = 0;
    while (stored_ <= last_ && codes_.next(count) && codes_.next(code)) {
      if (count > 0) {
        if (!run(count, code)) break;
      } else if (code == 0) {  // the end of a line
        nextRow();
      } else if (code == 1) {  // the end of the picture
        break;
      } else if (code == 2) {  // a move right and down; what it skips stays black
        std::uint8_t right = 0;
        std::uint8_t down = 0;
        if (!codes_.next(right) || !codes_.next(down)) break;
        const std::uint64_t x = x_ + right;
        for (std::uint8_t i = 0; i < down && stored_ <= last_; ++i) nextRow();
        x_ = x;
      } else if (!literal(code)) {
        break;
      }
    }
    // The rows of the area that no code reached are black.
    if (stored_ > last_) return;
    endRow();
    stored_ = std::max(stored_, first_);
    while (stored_ <= last_) {
      beginRow();
      endRow();
    }
  }

 private:
  void beginRow() {
    x_ = 0;
    row_ = stored_ >= first_ && stored_ <= last_ ? target_.begin(pictureRow(layout_, stored_)) : nullptr;
    if (row_ != nullptr) std::fill_n(row_, area_.width, kBlack);
  }
  void endRow() {
    if (row_ != nullptr) target_.end(pictureRow(layout_, stored_));
    row_ = nullptr;
    ++stored_;
  }
  void nextRow() {
    endRow();
    if (stored_ <= last_) beginRow();
  }

  // `count` pixels of one colour from x on; those past the end of the line are dropped.
  void put(Bgra colour, std::uint64_t count) {
    if (row_ != nullptr) {
      const std::uint64_t from = std::max<std::uint64_t>(x_, area_.left);
      const std::uint64_t to = std::min<std::uint64_t>(x_ + count, std::uint64_t{area_.left} + area_.width);
      for (std::uint64_t x = from; x < to; ++x) row_[x - area_.left] = colour;
    }
    x_ += count;
  }

  bool run(std::uint8_t count, std::uint8_t code) {
    switch (layout_.coding) {
      case BmpCoding::Rle8:
        put(layout_.palette[code], count);
        return true;
      case BmpCoding::Rle4:
        for (std::uint8_t i = 0; i < count; ++i) put(layout_.palette[i % 2 == 0 ? code >> 4 : code & 15], 1);
        return true;
      default: {
        std::uint8_t green = 0;
        std::uint8_t red = 0;
        if (!codes_.next(green) || !codes_.next(red)) return false;
        put(Bgra{code, green, red, 255}, count);
        return true;
      }
    }
  }

  // `count` pixels given one by one, their bytes padded to an even number.
  bool literal(std::uint8_t count) {
    std::uint8_t byte = 0;
    std::uint32_t bytes = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
      switch (layout_.coding) {
        case BmpCoding::Rle8:
          if (!codes_.next(byte)) return false;
          ++bytes;
          put(layout_.palette[byte], 1);
          break;
        case BmpCoding::Rle4:
          if (i % 2 == 0) {
            if (!codes_.next(byte)) return false;
            ++bytes;
          }
          put(layout_.palette[i % 2 == 0 ? byte >> 4 : byte & 15], 1);
          break;
        default: {
          std::uint8_t green = 0;
          std::uint8_t red = 0;
          if (!codes_.next(byte) || !codes_.next(green) || !codes_.next(red)) return false;
          bytes += 3;
          put(Bgra{byte, green, red, 255}, 1);
          break;
        }
      }
    }
    return bytes % 2 == 0 || codes_.next(byte);
  }

  const BmpLayout& layout_;
  PixelArea area_;
  RowTarget& target_;
  CodeReader& codes_;
  std::uint32_t first_;
  std::uint32_t last_;
  std::uint32_t stored_ = 0;  // the row of the file being decoded
  std::uint64_t x_ = 0;
  Bgra* row_ = nullptr;
};

bool readInto(ByteReader& file, const BmpLayout& layout, const PixelArea& area, RowTarget& target) {
  switch (layout.coding) {
    case BmpCoding::Plain:
      if (!readPlain(file, layout, area, target)) return false;
      break;
    case BmpCoding::Rle4:
    case BmpCoding::Rle8:
    case BmpCoding::Rle24: {
      CodeReader codes(file, layout.dataOffset, layout.dataSize);
      if (!codes.ready()) return false;
      RunLengthDecoder(layout, area, target, codes).decode();
      break;
    }
    case BmpCoding::Jpeg:
    case BmpCoding::Png:
      return false;
  }
  target.finish();
  return true;
}

}  // namespace

bool readBmpArea(ByteReader& file, const BmpLayout& layout, const PixelArea& area, std::span<Bgra> out,
                 Bgra background) {
  if (area.width == 0 || area.height == 0 || std::uint64_t{area.left} + area.width > layout.width ||
      std::uint64_t{area.top} + area.height > layout.height || out.size() != std::uint64_t{area.width} * area.height) {
    return false;
  }
  AreaTarget target(layout, area, out, background);
  return readInto(file, layout, area, target);
}

bool readBmpScaled(ByteReader& file, const BmpLayout& layout, std::uint32_t width, std::uint32_t height,
                   std::span<Bgra> out, Bgra background) {
  if (width == 0 || height == 0 || width > layout.width || height > layout.height ||
      out.size() != std::uint64_t{width} * height) {
    return false;
  }
  ScaledTarget target(layout, width, height, out, background);
  if (!target.ready()) return false;
  return readInto(file, layout, PixelArea{0, 0, layout.width, layout.height}, target);
}

}  // namespace slidewell::picture

#include "win/picture_file.h"

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "bmp_file.h"
#include "bytes_builder.h"
#include "gdi_count.h"
#include "picture_encoder.h"
#include "png_file.h"
#include "process_counters.h"
#include "temp_tree.h"
#include "win/com.h"

namespace slidewell::win {
namespace {

using testing_support::Rgb;

// The colour of one pixel of a decoded picture, read from its DIB section at its own depth.
Rgb pixelAt(const Picture& picture, int x, int y) {
  DIBSECTION dib{};
  if (GetObjectW(picture.bitmap.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr) return {};
  const auto* row =
      static_cast<const std::uint8_t*>(dib.dsBm.bmBits) + static_cast<std::ptrdiff_t>(y) * dib.dsBm.bmWidthBytes;
  const auto* pixel = row + static_cast<std::ptrdiff_t>(x) * (dib.dsBm.bmBitsPixel / 8);
  return Rgb{pixel[2], pixel[1], pixel[0]};
}

int depthOf(const Picture& picture) {
  BITMAP bitmap{};
  GetObjectW(picture.bitmap.get(), sizeof bitmap, &bitmap);
  return bitmap.bmBitsPixel;
}

// Red on the left half, blue on the right, and a green top row.
Rgb pattern(int x, int y, int width) {
  if (y == 0) return Rgb{0, 255, 0};
  return x < width / 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
}

std::vector<std::uint8_t> patternBgra(int width, int height) {
  std::vector<std::uint8_t> bgra;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pattern(x, y, width);
      bgra.insert(bgra.end(), {c.b, c.g, c.r, 255});
    }
  }
  return bgra;
}

// A BMP header that claims the given size, followed by only a few bytes of pixels.
std::vector<std::uint8_t> bmpHeaderClaiming(std::int32_t width, std::int32_t height) {
  auto bytes = testing_support::solidBmpBytes(2, 2, Rgb{1, 2, 3});
  for (int i = 0; i < 4; ++i) {
    bytes[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
    bytes[22 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
  }
  return bytes;
}

// An 8-bit run-length coded bitmap whose data ends at once.
std::vector<std::uint8_t> rle8Bmp(std::int32_t width, std::int32_t height) {
  const std::uint32_t dataOffset = 14 + 40 + 2 * 4;
  testing_support::Bytes b;
  b.text("BM").le(dataOffset + 2, 4).le(0, 4).le(dataOffset, 4);
  b.le(40, 4).le(static_cast<std::uint32_t>(width), 4).le(static_cast<std::uint32_t>(height), 4).le(1, 2).le(8, 2);
  b.le(1, 4).le(2, 4).le(2835, 4).le(2835, 4).le(2, 4).le(0, 4);  // BI_RLE8, 2 bytes of data, 2 colours
  b.le(0x00402010, 4).le(0x00FFFFFF, 4).le(0x0100, 2);            // the palette; the end of the bitmap
  return b.data;
}

// The bytes the platform's decoder gives of `area` of the file's frame as 32-bit BGR, four bytes a pixel.
std::vector<std::uint8_t> decodedByThePlatform(const std::wstring& path, const WICRect& area) {
  UniqueCom<IWICImagingFactory> factory;
  UniqueCom<IWICBitmapDecoder> decoder;
  UniqueCom<IWICBitmapFrameDecode> frame;
  UniqueCom<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put()))) ||
      FAILED(factory.get()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder.get()->GetFrame(0, frame.put())) ||
      FAILED(factory.get()->CreateFormatConverter(converter.put())) ||
      FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom))) {
    return {};
  }
  const UINT stride = static_cast<UINT>(area.Width) * 4;
  std::vector<std::uint8_t> bytes(std::size_t{stride} * static_cast<UINT>(area.Height));
  if (FAILED(converter.get()->CopyPixels(&area, stride, static_cast<UINT>(bytes.size()), bytes.data()))) return {};
  return bytes;
}

class PictureFileTest : public testing::Test {
 protected:
  // The whole picture at 1:1, as the show decodes one that fits its window.
  std::optional<Picture> loadPicture(const std::wstring& path) const {
    const auto frame = decoder.open(path);
    if (!frame) return std::nullopt;
    return decoder.decodeArea(*frame, WICRect{0, 0, frame->width, frame->height});
  }

  ComApartment com{COINIT_APARTMENTTHREADED};
  PictureDecoder decoder;
  testing_support::TempTree tree;
};

TEST_F(PictureFileTest, LoadsABitmapFileAtItsPixelSizeTopRowFirstAsA32BitPicture) {
  tree.makeFile(L"pattern.bmp", testing_support::bmpBytes(7, 5, [](int x, int y) { return pattern(x, y, 7); }));
  const long gdiBefore = testing_support::liveGdiObjects();
  {
    const auto picture = loadPicture(tree.pathOf(L"pattern.bmp"));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 7);
    EXPECT_EQ(picture->height, 5);
    EXPECT_EQ(depthOf(*picture), 32);  // the depth BitBlt draws fastest
    EXPECT_EQ(pixelAt(*picture, 0, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(pixelAt(*picture, 1, 4), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixelAt(*picture, 6, 4), (Rgb{0, 0, 255}));
    EXPECT_EQ(testing_support::liveGdiObjects(), gdiBefore + 1);
  }
  EXPECT_EQ(testing_support::liveGdiObjects(), gdiBefore);
}

TEST_F(PictureFileTest, LoadsWhatElseThePlatformDecodes) {
  // GIF keeps a palette and JPEG compresses with loss, so their colours are only close.
  const struct {
    const wchar_t* name;
    GUID container;
    bool exact;
  } formats[] = {{L"p.png", GUID_ContainerFormatPng, true},
                 {L"p.tif", GUID_ContainerFormatTiff, true},
                 {L"p.gif", GUID_ContainerFormatGif, false},
                 {L"p.jpg", GUID_ContainerFormatJpeg, false}};
  for (const auto& format : formats) {
    SCOPED_TRACE(std::string(format.name, format.name + wcslen(format.name)));
    const std::wstring path = tree.pathOf(format.name);
    ASSERT_TRUE(testing_support::encodePicture(path, format.container, 40, 30, patternBgra(40, 30)));
    const auto picture = loadPicture(path);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 40);
    EXPECT_EQ(picture->height, 30);
    const Rgb left = pixelAt(*picture, 5, 15);
    if (format.exact) {
      EXPECT_EQ(left, (Rgb{255, 0, 0}));
    } else {
      EXPECT_GT(left.r, 200);
      EXPECT_LT(left.b, 60);
    }
  }
}

TEST_F(PictureFileTest, TransparentPartsComeOutBlack) {
  std::vector<std::uint8_t> bgra = patternBgra(4, 4);
  for (std::size_t i = 3; i < bgra.size(); i += 4) bgra[i] = 0;
  ASSERT_TRUE(testing_support::encodePicture(tree.pathOf(L"clear.png"), GUID_ContainerFormatPng, 4, 4, bgra));
  const auto picture = loadPicture(tree.pathOf(L"clear.png"));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(pixelAt(*picture, 1, 2), (Rgb{0, 0, 0}));
}

TEST_F(PictureFileTest, LoadsFromUnicodePaths) {
  const auto bytes = testing_support::solidBmpBytes(3, 2, Rgb{9, 8, 7});
  const wchar_t* folders[] = {L"\u041a\u0430\u0440\u0442\u0438\u043d\u043a\u0438", L"\u56fe\u7247",
                              L"\U0001F600 smile"};
  for (const wchar_t* folder : folders) {
    tree.makeFolder(folder);
    const std::wstring name = std::wstring(folder) + L"\\" + folder + L".bmp";
    tree.makeFile(name, bytes);
    const auto picture = loadPicture(tree.pathOf(name));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(pixelAt(*picture, 2, 1), (Rgb{9, 8, 7}));
  }
}

TEST_F(PictureFileTest, RefusesWhatCannotBeShownWithoutKeepingAnything) {
  const auto good = testing_support::solidBmpBytes(64, 64, Rgb{1, 2, 3});
  tree.makeFile(L"empty.bmp", "");
  tree.makeFile(L"text.bmp", "this is not a picture at all, only words");
  tree.makeFile(L"header-only.bmp", std::vector<std::uint8_t>(good.begin(), good.begin() + 54));
  tree.makeFile(L"truncated.bmp", std::vector<std::uint8_t>(good.begin(), good.begin() + 54 + 64 * 3 * 10));
  tree.makeFile(L"huge.bmp", bmpHeaderClaiming(100000, 100000));
  tree.makeFile(L"zero-wide.bmp", bmpHeaderClaiming(0, 10));
  tree.makeFile(L"negative.bmp", bmpHeaderClaiming(-2147483647 - 1, 5));
  tree.makeFolder(L"folder.bmp");
  const std::wstring longPath = tree.pathOf(std::wstring(300, L'x') + L".bmp");

  const long gdiBefore = testing_support::liveGdiObjects();
  for (const std::wstring& path :
       {std::wstring(), tree.pathOf(L"missing.bmp"), tree.pathOf(L"empty.bmp"), tree.pathOf(L"text.bmp"),
        tree.pathOf(L"header-only.bmp"), tree.pathOf(L"truncated.bmp"), tree.pathOf(L"huge.bmp"),
        tree.pathOf(L"zero-wide.bmp"), tree.pathOf(L"negative.bmp"), tree.pathOf(L"folder.bmp"), longPath,
        std::wstring(L"Q:\\no such drive\\a.bmp"), std::wstring(L"\\\\?\\Q:\\nothing.bmp")}) {
    EXPECT_FALSE(loadPicture(path).has_value()) << std::string(path.begin(), path.end());
  }
  EXPECT_EQ(testing_support::liveGdiObjects(), gdiBefore);
  for (const wchar_t* name : {L"empty.bmp", L"text.bmp", L"header-only.bmp", L"truncated.bmp", L"huge.bmp",
                              L"zero-wide.bmp", L"negative.bmp"}) {
    EXPECT_TRUE(tree.openNowhere(name)) << "left open: " << std::wstring(name);
  }
}

TEST_F(PictureFileTest, DecodesOnlyTheAreaAskedFor) {
  tree.makeFile(L"pattern.bmp", testing_support::bmpBytes(40, 30, [](int x, int y) { return pattern(x, y, 40); }));
  const auto frame = decoder.open(tree.pathOf(L"pattern.bmp"));
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->width, 40);
  EXPECT_EQ(frame->height, 30);
  // Across the red and blue halves, from the green top row down.
  const auto part = decoder.decodeArea(*frame, WICRect{15, 0, 10, 4});
  ASSERT_TRUE(part.has_value());
  EXPECT_EQ(part->width, 10);
  EXPECT_EQ(part->height, 4);
  EXPECT_EQ(pixelAt(*part, 0, 0), (Rgb{0, 255, 0}));
  EXPECT_EQ(pixelAt(*part, 4, 3), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixelAt(*part, 5, 3), (Rgb{0, 0, 255}));
  EXPECT_FALSE(decoder.decodeArea(*frame, WICRect{35, 0, 10, 4}).has_value());  // beyond the picture
}

TEST_F(PictureFileTest, ReadsBitmapsWithItsOwnReaderGivingWhatThePlatformGivesOfTheCommonKinds) {
  // Each pixel of its own colour; 7 pixels wide, so that 24-bit and 8-bit rows are padded.
  const auto colour = [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(30 * x + y), static_cast<std::uint8_t>(100 + x),
               static_cast<std::uint8_t>(200 + y)};
  };
  const testing_support::BmpStorage storages[] = {
      {24, false}, {24, true},           {32, false, false, 40, 0x00}, {32, true, true, 124, 0xFF},
      {8, false},  {8, true, false, 108}};
  const WICRect areas[] = {{0, 0, 7, 5}, {0, 0, 3, 2}, {4, 3, 3, 2}, {2, 1, 3, 3}, {0, 2, 7, 2}, {6, 0, 1, 5}};
  for (const auto& storage : storages) {
    const std::wstring name = L"b" + std::to_wstring(storage.bitsPerPixel) + (storage.topDown ? L"t" : L"b") +
                              std::to_wstring(storage.headerSize) + L".bmp";
    tree.makeFile(name, testing_support::bmpBytes(7, 5, storage, colour));
    const auto frame = decoder.open(tree.pathOf(name));
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(std::holds_alternative<StoredBitmap>(frame->source));
    for (const WICRect& area : areas) {
      SCOPED_TRACE(std::string(name.begin(), name.end()) + " at " + std::to_string(area.X) + "," +
                   std::to_string(area.Y) + " " + std::to_string(area.Width) + "x" + std::to_string(area.Height));
      const auto part = decoder.decodeArea(*frame, area);
      ASSERT_TRUE(part.has_value());
      EXPECT_EQ(depthOf(*part), 32);
      const auto platform = decodedByThePlatform(tree.pathOf(name), area);
      ASSERT_FALSE(platform.empty());
      for (int y = 0; y < area.Height; ++y) {
        for (int x = 0; x < area.Width; ++x) {
          const std::uint8_t* p = platform.data() + 4 * static_cast<std::size_t>(y * area.Width + x);
          EXPECT_EQ(pixelAt(*part, x, y), (Rgb{p[2], p[1], p[0]})) << x << "," << y;
          EXPECT_EQ(pixelAt(*part, x, y), colour(area.X + x, area.Y + y)) << x << "," << y;
        }
      }
    }
  }
  // A file cut short shows nothing, not even the rows it still holds (bottom-up, the last row is first).
  const auto whole = testing_support::bmpBytes(7, 5, {24}, colour);
  tree.makeFile(L"cut.bmp", std::vector<std::uint8_t>(whole.begin(), whole.end() - 1));
  const auto cut = decoder.open(tree.pathOf(L"cut.bmp"));
  ASSERT_TRUE(cut.has_value());
  EXPECT_FALSE(decoder.decodeArea(*cut, WICRect{0, 4, 7, 1}).has_value());
  // A run-length coded bitmap goes to the program's own reader as well.
  tree.makeFile(L"rle.bmp", rle8Bmp(10, 10));
  const auto coded = decoder.open(tree.pathOf(L"rle.bmp"));
  ASSERT_TRUE(coded.has_value());
  EXPECT_TRUE(std::holds_alternative<StoredBitmap>(coded->source));
}

TEST_F(PictureFileTest, HandsAJpegOrPngInsideABitmapToThatDecoder) {
  for (const auto& [name, container] :
       {std::pair{L"inside.png", GUID_ContainerFormatPng}, std::pair{L"inside.jpg", GUID_ContainerFormatJpeg}}) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    ASSERT_TRUE(testing_support::encodePicture(tree.pathOf(name), container, 40, 30, patternBgra(40, 30)));
    const bool png = container == GUID_ContainerFormatPng;
    const auto bmp =
        testing_support::bmpFile({.width = 40, .height = 30, .bitsPerPixel = 0, .compression = png ? 5u : 4u},
                                 testing_support::readFileBytes(tree.pathOf(name)));
    tree.makeFile(L"inside.bmp", bmp);
    const auto frame = decoder.open(tree.pathOf(L"inside.bmp"));
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(std::holds_alternative<DecoderFrame>(frame->source));
    const auto picture = decoder.decodeArea(*frame, WICRect{0, 0, 40, 30});
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(depthOf(*picture), 32);
    const Rgb left = pixelAt(*picture, 5, 15);
    const Rgb right = pixelAt(*picture, 35, 15);
    if (png) {
      EXPECT_EQ(left, (Rgb{255, 0, 0}));
      EXPECT_EQ(right, (Rgb{0, 0, 255}));
    } else {  // JPEG compresses with loss
      EXPECT_GT(left.r, 200);
      EXPECT_LT(left.b, 60);
      EXPECT_GT(right.b, 200);
    }
  }
  // A PNG said to be a JPEG is not given to the JPEG decoder's guesswork: nothing shows.
  const auto wrong = testing_support::bmpFile({.width = 40, .height = 30, .bitsPerPixel = 0, .compression = 4},
                                              testing_support::readFileBytes(tree.pathOf(L"inside.png")));
  tree.makeFile(L"wrong.bmp", wrong);
  EXPECT_FALSE(decoder.open(tree.pathOf(L"wrong.bmp")).has_value());
}

TEST_F(PictureFileTest, PreviewsABitmapAveragedDownWithItsAlphaOverTheBackground) {
  // 64 x 8 at 32 bits: its left half half-transparent white, its right half opaque blue.
  const auto bytes = testing_support::bmpFile(
      {.width = 64, .height = 8, .bitsPerPixel = 32},
      testing_support::storedRows(64, 8, 32, false, [](int x, int) { return x < 32 ? 0x80FFFFFFu : 0xFF0000FFu; }));
  tree.makeFile(L"alpha.bmp", bytes);
  const auto preview = decoder.decodeToFill(tree.pathOf(L"alpha.bmp"), SIZE{8, 2}, RGB(0, 0, 100));
  ASSERT_TRUE(preview.has_value());
  EXPECT_EQ(preview->width, 16);
  EXPECT_EQ(preview->height, 4);
  EXPECT_EQ(depthOf(*preview), 32);
  EXPECT_EQ(pixelAt(*preview, 0, 0), (Rgb{128, 128, 178}));  // 255 x 128/255 + 100 x 127/255 in blue
  EXPECT_EQ(pixelAt(*preview, 15, 3), (Rgb{0, 0, 255}));
  // The show lays it over black.
  const auto shown = loadPicture(tree.pathOf(L"alpha.bmp"));
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(pixelAt(*shown, 0, 0), (Rgb{128, 128, 128}));
}

TEST_F(PictureFileTest, DecodesAPreviewAtMostTwiceItsBox) {
  ASSERT_TRUE(testing_support::encodePicture(tree.pathOf(L"big.png"), GUID_ContainerFormatPng, 400, 300,
                                             patternBgra(400, 300)));
  const auto preview = decoder.decodeToFill(tree.pathOf(L"big.png"), SIZE{40, 30}, RGB(0, 0, 0));
  ASSERT_TRUE(preview.has_value());
  EXPECT_EQ(preview->width, 80);
  EXPECT_EQ(preview->height, 60);
  EXPECT_EQ(pixelAt(*preview, 10, 40), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixelAt(*preview, 70, 40), (Rgb{0, 0, 255}));
  // A picture smaller than that is decoded whole.
  const auto small = decoder.decodeToFill(tree.pathOf(L"big.png"), SIZE{300, 200}, RGB(0, 0, 0));
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(small->width, 400);
  EXPECT_EQ(small->height, 300);
}

TEST_F(PictureFileTest, JudgesAPictureByWhatTheDecoderMustHoldOfIt) {
  // A 24-bit panorama of 16,400 x 4,096, above the 64 Mpx once refused, opens on either build; a
  // frame of 20,000 x 20,000 (1.2 GB) on neither. Only the headers are read.
  tree.makeFile(L"panorama.bmp", bmpHeaderClaiming(16400, 4096));
  tree.makeFile(L"square.bmp", bmpHeaderClaiming(20000, 20000));
  const auto panorama = decoder.open(tree.pathOf(L"panorama.bmp"));
  ASSERT_TRUE(panorama.has_value());
  EXPECT_EQ(panorama->width, 16400);
  EXPECT_FALSE(decoder.open(tree.pathOf(L"square.bmp")).has_value());

  // A run-length coded bitmap that ends at once is a valid picture of any size in a few bytes.
  tree.makeFile(L"small.bmp", rle8Bmp(100, 60));
  const auto small = loadPicture(tree.pathOf(L"small.bmp"));
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(small->width, 100);
  EXPECT_EQ(small->height, 60);
}

TEST_F(PictureFileTest, RefusesAPictureDeclaringTooManyPixelsFromItsHeaderAlone) {
  // Made the same way, a small one is a picture the decoder reads.
  tree.makeFile(L"small.png", testing_support::blackPngBytes(300, 200));
  const auto small = loadPicture(tree.pathOf(L"small.png"));
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(pixelAt(*small, 299, 199), (Rgb{0, 0, 0}));

  // 20,000 x 20,000 RGB: 1.2 GB and seconds to decode, a few megabytes as a file.
  tree.makeFile(L"bomb.png", testing_support::blackPngBytes(20000, 20000));
  const SIZE_T peakBefore = testing_support::memoryCounters().PeakWorkingSetSize;
  EXPECT_FALSE(decoder.open(tree.pathOf(L"bomb.png")).has_value());
  EXPECT_LT(testing_support::memoryCounters().PeakWorkingSetSize - peakBefore, SIZE_T{64} << 20);
}

}  // namespace
}  // namespace slidewell::win

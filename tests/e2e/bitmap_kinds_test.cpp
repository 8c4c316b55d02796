#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "harness/program.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "picture_encoder.h"
#include "temp_tree.h"
#include "win/com.h"

namespace slidewell::e2e {
namespace {

using testing_support::BmpHeader;

constexpr int kWidth = 48;
constexpr int kHeight = 36;

// A picture of one stored value in every pixel.
std::vector<std::uint8_t> solid(const BmpHeader& header, std::uint64_t value) {
  BmpHeader sized = header;
  sized.width = kWidth;
  sized.height = kHeight;
  return testing_support::bmpFile(sized, testing_support::storedRows(kWidth, kHeight, header.bitsPerPixel, false,
                                                                     [value](int, int) { return value; }));
}

// OS/2's 24-bit runs: each row one run of the colour, the last one ended by the end of the picture.
std::vector<std::uint8_t> solidRle24(Rgb colour) {
  std::vector<std::uint8_t> codes;
  for (int row = 0; row < kHeight; ++row) {
    codes.insert(codes.end(),
                 {std::uint8_t{kWidth}, colour.b, colour.g, colour.r, 0, std::uint8_t(row + 1 == kHeight ? 1 : 0)});
  }
  return testing_support::bmpFile({.headerSize = 64, .width = kWidth, .height = kHeight, .compression = 4}, codes);
}

std::uint64_t wide(std::uint16_t b, std::uint16_t g, std::uint16_t r, std::uint16_t a) {
  return std::uint64_t{b} | std::uint64_t{g} << 16 | std::uint64_t{r} << 32 | std::uint64_t{a} << 48;
}

// A list of one file of each kind that other readers show differently or not at all, each in a colour
// of its own as the program's reader gives it, changing every second.
TEST(BitmapKinds, OneFileOfEachUncommonKindIsSeenOnTheScreenInTurn) {
  clearSettings();
  const win::ComApartment com(COINIT_APARTMENTTHREADED);
  const testing_support::TempTree folder;
  std::vector<std::uint8_t> bgra;
  for (int i = 0; i < kWidth * kHeight; ++i) bgra.insert(bgra.end(), {250, 120, 60, 255});
  ASSERT_TRUE(testing_support::encodePicture(folder.pathOf(L"p.png"), GUID_ContainerFormatPng, kWidth, kHeight, bgra));

  const struct {
    const wchar_t* name;
    std::vector<std::uint8_t> bytes;
    Rgb colour;
  } kinds[] = {
      {L"rgb-order.bmp",
       solid({.bitsPerPixel = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}}, 0x0A3CC8),
       {200, 60, 10}},
      {L"2-3-1.bmp", solid({.bitsPerPixel = 16, .compression = 3, .masks = {0x30, 0x0E, 0x01}}, 0x2B), {170, 182, 255}},
      {L"3-10-3.bmp",
       solid({.headerSize = 52, .bitsPerPixel = 16, .compression = 3, .masks = {0xE000, 0x1FF8, 0x0007}},
             5 << 13 | 100 << 3 | 2),
       {182, 25, 73}},
      {L"4-4-4-4.bmp",
       solid({.bitsPerPixel = 16, .compression = 6, .masks = {0x0F00, 0x00F0, 0x000F, 0xF000}}, 0xF93C),
       {153, 51, 204}},
      {L"5-5-5-1.bmp",
       solid({.headerSize = 56, .bitsPerPixel = 16, .compression = 3, .masks = {0x7C00, 0x03E0, 0x001F, 0x8000}},
             0x8000 | 20 << 10 | 10 << 5 | 31),
       {165, 82, 255}},
      {L"10-10-10-2.bmp",
       solid({.headerSize = 124,
              .bitsPerPixel = 32,
              .compression = 3,
              .masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}},
             0xC0000000u | 1023u << 20 | 300u << 10 | 600u),
       {255, 75, 150}},
      {L"11-11-10.bmp",
       solid({.headerSize = 108, .bitsPerPixel = 32, .compression = 3, .masks = {0xFFE00000, 0x001FFC00, 0x000003FF}},
             100u << 21 | 2000u << 10 | 500u),
       {12, 249, 125}},
      {L"7-1-8-7.bmp",
       solid({.headerSize = 56, .bitsPerPixel = 32, .compression = 3, .masks = {0x7F, 0x80, 0xFF00, 0x7F0000}},
             0x7F0000 | 40 << 8 | 0x80 | 100),
       {201, 255, 40}},
      {L"alpha-first.bmp",
       solid({.headerSize = 124, .bitsPerPixel = 32, .compression = 3, .masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF}},
             0x1E5AB4FF),
       {30, 90, 180}},
      {L"os2-16.bmp", solid({.headerSize = 16}, 0x5AC88C), {90, 200, 140}},
      {L"rle24.bmp", solidRle24({240, 220, 30}), {240, 220, 30}},
      {L"64.bmp", solid({.bitsPerPixel = 64}, wide(0, 0x06D9, 0x2000, 0x2000)), {255, 127, 0}},
      {L"png-inside.bmp",
       testing_support::bmpFile({.width = kWidth, .height = kHeight, .bitsPerPixel = 0, .compression = 5},
                                testing_support::readFileBytes(folder.pathOf(L"p.png"))),
       {60, 120, 250}},
  };
  std::vector<std::wstring> paths;
  std::vector<Rgb> colours;
  for (const auto& kind : kinds) {
    folder.makeFile(kind.name, kind.bytes);
    paths.push_back(folder.pathOf(kind.name));
    colours.push_back(kind.colour);
  }
  writeSetting(L"temps", L"1");
  writePictureList(paths);
  RunningProgram program(L"/s");
  ASSERT_NE(program.waitForShowWindow(), nullptr);
  EXPECT_EQ(coloursInTurn(program, colours, colours.size(), 40000), colours);
  clearSettings();
}

}  // namespace
}  // namespace slidewell::e2e

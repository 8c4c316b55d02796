#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace slidewell::testing_support {

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// The bytes of a 24-bit bottom-up BMP file, each pixel coloured by `colour(x, y)`.
std::vector<std::uint8_t> bmpBytes(int width, int height, const std::function<Rgb(int x, int y)>& colour);

// The same in one colour.
std::vector<std::uint8_t> solidBmpBytes(int width, int height, Rgb colour);

}  // namespace slidewell::testing_support

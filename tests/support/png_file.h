#pragma once

#include <cstdint>
#include <vector>

namespace slidewell::testing_support {

// The bytes of a valid PNG file of black 8-bit RGB pixels. Its pixel data is deflated here as one run
// of zeros, so that even a picture of gigabytes is made at once, in about 1/160 of its pixel bytes.
std::vector<std::uint8_t> blackPngBytes(std::uint32_t width, std::uint32_t height);

}  // namespace slidewell::testing_support

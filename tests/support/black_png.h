#pragma once

#include <cstdint>
#include <vector>

namespace slidewell::testing_support {

// The bytes of a valid 8-bit RGB PNG file of black pixels, deflated about a thousand to one: a
// 20000 x 20000 picture, 1.2 GB once decoded, takes about 1.2 MB. Made directly, in milliseconds.
std::vector<std::uint8_t> blackPngBytes(std::uint32_t width, std::uint32_t height);

}  // namespace slidewell::testing_support

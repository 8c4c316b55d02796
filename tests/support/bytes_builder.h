#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace slidewell::testing_support {

// A file's bytes written field by field, for test files made to the byte.
struct Bytes {
  std::vector<std::uint8_t> data;

  Bytes& raw(std::initializer_list<int> values) {
    for (int v : values) data.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  Bytes& text(std::string_view s) {
    for (char c : s) data.push_back(static_cast<std::uint8_t>(c));
    return *this;
  }
  Bytes& number(std::uint64_t value, int size, bool bigEndian) {
    for (int i = 0; i < size; ++i)
      data.push_back(static_cast<std::uint8_t>(value >> 8 * (bigEndian ? size - 1 - i : i)));
    return *this;
  }
  Bytes& le(std::uint64_t value, int size) { return number(value, size, false); }
  Bytes& be(std::uint64_t value, int size) { return number(value, size, true); }
  Bytes& zeros(std::size_t count) {
    data.insert(data.end(), count, 0);
    return *this;
  }
};

}  // namespace slidewell::testing_support

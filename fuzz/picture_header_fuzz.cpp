#include <cstddef>
#include <cstdint>
#include <span>

#include "memory_bytes.h"
#include "picture/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  slidewell::picture::readDeclaredFrame(slidewell::testing_support::MemoryBytes(std::span(data, size)));
  return 0;
}

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidewell::e2e {

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

}  // namespace slidewell::e2e

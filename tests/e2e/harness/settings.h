#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace slidewell::e2e {

// The program's configuration, read and written directly in the registry, as a test sees it.
void clearSettings();
void writeSetting(std::wstring_view key, std::wstring_view value);
std::optional<std::wstring> readSetting(std::wstring_view key);

}  // namespace slidewell::e2e

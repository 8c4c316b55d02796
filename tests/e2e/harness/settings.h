#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace slidewell::e2e {

// The program's configuration, read and written directly in the registry, as a test sees it.
void clearSettings();
void writeSetting(std::wstring_view key, std::wstring_view value);
std::optional<std::wstring> readSetting(std::wstring_view key);
// Every value of the configuration by name, whatever its type, as text (REG_SZ) or "<type N>".
std::map<std::wstring, std::wstring> allSettings();

}  // namespace slidewell::e2e

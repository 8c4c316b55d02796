#include "settings/registry_settings_store.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "settings/settings_store.h"
#include "settings/stored_text.h"
#include "win/handles.h"

namespace slidewell::settings {
namespace {

std::optional<std::wstring> readValue(HKEY section, const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(section, name.c_str(), nullptr, &type, nullptr, &size);
  std::vector<std::byte> data;
  // The value may grow between the size query and the read; ask again until the buffer holds it.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    data.resize(size);
    status = RegQueryValueExW(section, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_SUCCESS) {
      data.resize(size);
      const auto kind = type == REG_SZ ? StoredKind::String : StoredKind::Other;
      return readStoredText(kind, data);
    }
  }
  return std::nullopt;
}

}  // namespace

std::wstring RegistrySettingsStore::get(std::wstring_view key, std::wstring_view fallback) const {
  win::UniqueRegistryKey section;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, sectionPath().c_str(), 0, KEY_QUERY_VALUE, section.put()) != ERROR_SUCCESS) {
    return std::wstring(fallback);
  }
  return readValue(section.get(), std::wstring(key)).value_or(std::wstring(fallback));
}

bool RegistrySettingsStore::save(std::wstring_view key, std::wstring_view value) {
  win::UniqueRegistryKey section;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, sectionPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, section.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring text(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(section.get(), std::wstring(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace slidewell::settings

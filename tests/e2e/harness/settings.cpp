#include "settings.h"

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "win/handles.h"

namespace slidewell::e2e {
namespace {
const std::wstring kSectionPath = settings::sectionPath();
const wchar_t* const kSection = kSectionPath.c_str();
}  // namespace

void clearSettings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\" + std::wstring(settings::kApplication)).c_str());
}

void writeSetting(std::wstring_view key, std::wstring_view value) {
  const std::wstring text(value);
  RegSetKeyValueW(HKEY_CURRENT_USER, kSection, std::wstring(key).c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void writePictureList(const std::vector<std::wstring>& paths) {
  for (std::size_t i = 0; i < paths.size(); ++i) writeSetting(settings::pictureKey(static_cast<int>(i)), paths[i]);
}

std::optional<std::wstring> readSetting(std::wstring_view key) {
  const std::wstring name(key);
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSection, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1);
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kSection, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text.data());
}

std::map<std::wstring, std::wstring> allSettings() {
  std::map<std::wstring, std::wstring> values;
  win::UniqueRegistryKey section;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSection, 0, KEY_QUERY_VALUE, section.put()) != ERROR_SUCCESS) return values;
  std::vector<wchar_t> name(16384);
  std::vector<wchar_t> text(32768);
  for (DWORD index = 0;; ++index) {
    std::fill(text.begin(), text.end(), L'\0');
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));  // the last one stays a NUL
    if (RegEnumValueW(section.get(), index, name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
      break;
    }
    values[std::wstring(name.data(), nameLength)] =
        type == REG_SZ ? std::wstring(text.data()) : L"<type " + std::to_wstring(type) + L">";
  }
  return values;
}

RefusedSettingsWrites::RefusedSettingsWrites() {
  win::UniqueRegistryKey section;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSection, 0, nullptr, REG_OPTION_NON_VOLATILE, READ_CONTROL | WRITE_DAC,
                      nullptr, section.put(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD size = 0;
  RegGetKeySecurity(section.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
  previous_.resize(size);
  if (size == 0 ||
      RegGetKeySecurity(section.get(), DACL_SECURITY_INFORMATION, previous_.data(), &size) != ERROR_SUCCESS) {
    return;
  }
  // Everyone: setting values (KEY_SET_VALUE, 0x2) denied, everything else allowed.
  PSECURITY_DESCRIPTOR refusing = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &refusing,
                                                            nullptr)) {
    return;
  }
  active_ = RegSetKeySecurity(section.get(), DACL_SECURITY_INFORMATION, refusing) == ERROR_SUCCESS;
  LocalFree(refusing);
}

RefusedSettingsWrites::~RefusedSettingsWrites() {
  if (!active_) return;
  win::UniqueRegistryKey section;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSection, 0, WRITE_DAC, section.put()) == ERROR_SUCCESS) {
    RegSetKeySecurity(section.get(), DACL_SECURITY_INFORMATION, previous_.data());
  }
}

}  // namespace slidewell::e2e

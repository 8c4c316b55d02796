#include "settings.h"

#include <windows.h>

#include <vector>

namespace slidewell::e2e {
namespace {
constexpr wchar_t kSection[] = L"Software\\SWPIC1\\Main";
}

void clearSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SWPIC1"); }

void writeSetting(std::wstring_view key, std::wstring_view value) {
  const std::wstring text(value);
  RegSetKeyValueW(HKEY_CURRENT_USER, kSection, std::wstring(key).c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
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

}  // namespace slidewell::e2e

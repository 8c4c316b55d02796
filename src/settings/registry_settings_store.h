#pragma once

#include "settings/settings_store.h"

namespace slidewell::settings {

// The configuration in the current user's registry: HKEY_CURRENT_USER\Software\SWPIC1\Main,
// one REG_SZ value per key. Every call opens the key afresh, so values saved by another process
// are seen at the next read.
class RegistrySettingsStore final : public SettingsStore {
 public:
  std::wstring get(std::wstring_view key, std::wstring_view fallback) const override;
  bool save(std::wstring_view key, std::wstring_view value) override;
};

}  // namespace slidewell::settings

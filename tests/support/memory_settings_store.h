#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace slidewell::testing_support {

// The settings store in memory, recording the keys read in order.
class MemorySettingsStore : public settings::SettingsStore {
 public:
  std::wstring get(std::wstring_view key, std::wstring_view fallback) const override {
    reads.emplace_back(key);
    const auto found = values.find(std::wstring(key));
    return found != values.end() ? found->second : std::wstring(fallback);
  }
  bool save(std::wstring_view key, std::wstring_view value) override {
    values[std::wstring(key)] = std::wstring(value);
    return true;
  }

  std::map<std::wstring, std::wstring> values;
  mutable std::vector<std::wstring> reads;
};

}  // namespace slidewell::testing_support

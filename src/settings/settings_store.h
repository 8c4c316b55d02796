#pragma once

#include <string>
#include <string_view>

namespace slidewell::settings {

// The per-user configuration: string values by key, in application SWPIC1, section "Main".
// Nothing is ever deleted; a free slot is overwritten with the empty string.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored value, even when it is empty; `fallback` only when the key is absent
  // (or holds something that is not a string, which this program never writes).
  virtual std::wstring get(std::wstring_view key, std::wstring_view fallback) const = 0;

  // Creates the section when needed and replaces any earlier value. False when the write failed.
  virtual bool save(std::wstring_view key, std::wstring_view value) = 0;
};

}  // namespace slidewell::settings

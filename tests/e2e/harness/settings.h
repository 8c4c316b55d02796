#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidewell::e2e {

// The program's configuration, read and written directly in the registry, as a test sees it.
void clearSettings();
void writeSetting(std::wstring_view key, std::wstring_view value);
std::optional<std::wstring> readSetting(std::wstring_view key);
// The picture list: `paths` under "Picture 0" on.
void writePictureList(const std::vector<std::wstring>& paths);
// Every value of the configuration by name, whatever its type, as text (REG_SZ) or "<type N>".
std::map<std::wstring, std::wstring> allSettings();

// While it lives, the configuration's registry key refuses every write of a value (its security denies
// setting values to everyone); reading still works. The key's earlier security comes back with the end.
class RefusedSettingsWrites {
 public:
  RefusedSettingsWrites();
  RefusedSettingsWrites(const RefusedSettingsWrites&) = delete;
  RefusedSettingsWrites& operator=(const RefusedSettingsWrites&) = delete;
  ~RefusedSettingsWrites();

  bool active() const { return active_; }

 private:
  std::vector<unsigned char> previous_;  // the key's security descriptor (its DACL) before
  bool active_ = false;
};

}  // namespace slidewell::e2e

#pragma once

namespace slidewell::bench {

// The benchmark configures the show through the user's own settings; this keeps a copy of them for the
// length of a scope and puts it back at the end, so that nothing of the user's configuration is lost.
class SettingsBackup {
 public:
  SettingsBackup();
  SettingsBackup(const SettingsBackup&) = delete;
  SettingsBackup& operator=(const SettingsBackup&) = delete;
  ~SettingsBackup();

  // False when the settings existed but could not be copied: the benchmark must not touch them then.
  bool ok() const { return ok_; }

 private:
  bool existed_ = false;
  bool ok_ = false;
};

}  // namespace slidewell::bench

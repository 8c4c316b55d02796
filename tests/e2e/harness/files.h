#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace slidewell::e2e {

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

// A free drive letter that leads to `folder` while it lives, for every program of the session, as a
// mapped share does; if `folder` is missing, a drive without its medium.
class MappedDrive {
 public:
  explicit MappedDrive(const std::wstring& folder);
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;
  ~MappedDrive();

  bool mapped() const { return mapped_; }
  // The capital letter.
  wchar_t letter() const { return device_[0]; }

 private:
  std::wstring device_;
  bool mapped_ = false;
};

}  // namespace slidewell::e2e

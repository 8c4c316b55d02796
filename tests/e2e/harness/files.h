#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidewell::e2e {

// A fresh folder under the temporary folder, removed with everything in it when the owner goes.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::wstring& path() const { return path_; }
  // path() + "\\" + name
  std::wstring file(std::wstring_view name) const;

 private:
  std::wstring path_;
};

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

}  // namespace slidewell::e2e

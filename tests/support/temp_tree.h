#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slidewell::testing_support {

// A folder of its own under the user's temporary folder, removed with everything in it at the end.
// Relative names may hold backslashes; paths of any length work.
class TempTree {
 public:
  TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;
  ~TempTree();

  const std::wstring& path() const { return path_; }
  std::wstring pathOf(std::wstring_view relative) const;

  void makeFolder(std::wstring_view relative) const;
  void makeFile(std::wstring_view relative, std::string_view bytes = "BM") const;
  void makeFile(std::wstring_view relative, const std::vector<std::uint8_t>& bytes) const;
  void hide(std::wstring_view relative) const;
  // Whether no handle to the file is open, in this process or another: opening it with no sharing at
  // all fails while any handle with access to its contents is open (and for a file that is not there).
  bool openNowhere(std::wstring_view relative) const;

 private:
  std::wstring path_;
};

// Writes `bytes` as the whole of the file at `path`, made or replaced; false when it could not be written.
bool writeFileBytes(const std::wstring& path, std::string_view bytes);
bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// The whole of a file's bytes; empty when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::wstring& path);

}  // namespace slidewell::testing_support

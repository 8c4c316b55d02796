#include "temp_tree.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "win/handles.h"

namespace slidewell::testing_support {
namespace {

std::wstring longForm(const std::wstring& path) { return L"\\\\?\\" + path; }

void removeTree(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  const win::UniqueFindHandle search(FindFirstFileW(longForm(path + L"\\*").c_str(), &found));
  if (search) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(longForm(child).c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        removeTree(child);
      } else {
        DeleteFileW(longForm(child).c_str());
      }
    } while (FindNextFileW(search.get(), &found));
  }
  RemoveDirectoryW(longForm(path).c_str());
}

}  // namespace

TempTree::TempTree() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  static unsigned made = 0;  // two trees of one process never share a name
  path_ = std::wstring(temp) + L"slidewell-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
  EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
}

TempTree::~TempTree() { removeTree(path_); }

std::wstring TempTree::pathOf(std::wstring_view relative) const { return path_ + L"\\" + std::wstring(relative); }

void TempTree::makeFolder(std::wstring_view relative) const {
  EXPECT_TRUE(CreateDirectoryW(longForm(pathOf(relative)).c_str(), nullptr)) << pathOf(relative);
}

void TempTree::makeFile(std::wstring_view relative, std::string_view bytes) const {
  EXPECT_TRUE(writeFileBytes(longForm(pathOf(relative)), bytes)) << pathOf(relative);
}

void TempTree::makeFile(std::wstring_view relative, const std::vector<std::uint8_t>& bytes) const {
  EXPECT_TRUE(writeFileBytes(longForm(pathOf(relative)), bytes)) << pathOf(relative);
}

void TempTree::hide(std::wstring_view relative) const {
  EXPECT_TRUE(SetFileAttributesW(longForm(pathOf(relative)).c_str(), FILE_ATTRIBUTE_HIDDEN));
}

bool TempTree::openNowhere(std::wstring_view relative) const {
  const win::UniqueFileHandle alone(CreateFileW(longForm(pathOf(relative)).c_str(), GENERIC_READ, 0, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(alone);
}

bool writeFileBytes(const std::wstring& path, std::string_view bytes) {
  const win::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  return writeFileBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> readFileBytes(const std::wstring& path) {
  const win::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 << 20) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
    return {};
  return bytes;
}

}  // namespace slidewell::testing_support

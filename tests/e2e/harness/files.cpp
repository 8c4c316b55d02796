#include "files.h"

#include <windows.h>
#include <shellapi.h>

#include "win/handles.h"

namespace slidewell::e2e {
namespace {

void removeTree(const std::wstring& path) {
  std::wstring from = path;
  from.push_back(L'\0');  // SHFileOperation takes a double-NUL-terminated list
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
}

}  // namespace

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, base);
  static unsigned made = 0;
  path_ = std::wstring(base) + L"slidewell-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++made);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { removeTree(path_); }

std::wstring TempFolder::file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  win::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace slidewell::e2e

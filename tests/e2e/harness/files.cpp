#include "files.h"

#include <windows.h>

#include "win/handles.h"

namespace slidewell::e2e {

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  win::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace slidewell::e2e

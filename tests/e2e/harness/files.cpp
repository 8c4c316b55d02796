#include "files.h"

#include <windows.h>

#include "kernel_handles.h"

namespace slidewell::e2e {

bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  testing_support::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

MappedDrive::MappedDrive(const std::wstring& folder) {
  wchar_t letter = L'M';
  while (letter < L'Y' && (GetLogicalDrives() & (1u << (letter - L'A'))) != 0) ++letter;
  device_ = {letter, L':'};
  mapped_ = DefineDosDeviceW(0, device_.c_str(), folder.c_str()) != FALSE;
}

MappedDrive::~MappedDrive() {
  if (mapped_) DefineDosDeviceW(DDD_REMOVE_DEFINITION, device_.c_str(), nullptr);
}

}  // namespace slidewell::e2e

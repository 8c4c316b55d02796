#include "settings_backup.h"

#include <windows.h>

#include <string>

#include "settings/settings_store.h"
#include "win/handles.h"

namespace slidewell::bench {
namespace {

const std::wstring kSectionPath = settings::sectionPath();
const wchar_t* const kSettings = kSectionPath.c_str();
const std::wstring kCopyPath = kSectionPath + L" (saved by the benchmark)";
const wchar_t* const kCopy = kCopyPath.c_str();

bool copyTree(const wchar_t* from, const wchar_t* to) {
  win::UniqueRegistryKey source;
  win::UniqueRegistryKey target;
  return RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, source.put()) == ERROR_SUCCESS &&
         RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.put(), nullptr) ==
             ERROR_SUCCESS &&
         RegCopyTreeW(source.get(), nullptr, target.get()) == ERROR_SUCCESS;
}

}  // namespace

SettingsBackup::SettingsBackup() {
  win::UniqueRegistryKey existing;
  existed_ = RegOpenKeyExW(HKEY_CURRENT_USER, kSettings, 0, KEY_READ, existing.put()) == ERROR_SUCCESS;
  RegDeleteTreeW(HKEY_CURRENT_USER, kCopy);
  ok_ = !existed_ || copyTree(kSettings, kCopy);
}

SettingsBackup::~SettingsBackup() {
  if (!ok_) return;
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
  if (existed_ && copyTree(kCopy, kSettings)) RegDeleteTreeW(HKEY_CURRENT_USER, kCopy);
}

}  // namespace slidewell::bench

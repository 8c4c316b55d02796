#pragma once

#include <string>
#include <string_view>

namespace slidewell::settings {

// Where the configuration lives: HKEY_CURRENT_USER\Software\SWPIC1\Main.
inline constexpr std::wstring_view kApplication = L"SWPIC1";
inline constexpr std::wstring_view kSection = L"Main";

// The picture list is spread over "Picture 0" ... "Picture 100"; the list ends at the first empty one.
inline constexpr int kPictureKeyCount = 101;
inline constexpr int kMaxPictures = 99;

// Seconds between two pictures, as typed in the dialog.
inline constexpr std::wstring_view kIntervalKey = L"temps";
inline constexpr std::wstring_view kIntervalDefault = L"3";

// Where the dialog's file browser stood at the last save.
inline constexpr std::wstring_view kDriveKey = L"drive";
inline constexpr std::wstring_view kFolderKey = L"dir";

// The registry key of the configuration below HKEY_CURRENT_USER: "Software\SWPIC1\Main".
inline std::wstring sectionPath() {
  return L"Software\\" + std::wstring(kApplication) + L"\\" + std::wstring(kSection);
}

// "Picture", one space, the index in decimal without sign or leading zeros.
inline std::wstring pictureKey(int index) { return L"Picture " + std::to_wstring(index); }

// The per-user configuration: string values by key, in application SWPIC1, section "Main".
// Nothing is ever deleted; a free slot is overwritten with the empty string.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored value, even when it is empty; `fallback` only when the key is absent
  // (or holds something that is not a string, which this program never writes).
  virtual std::wstring get(std::wstring_view key, std::wstring_view fallback) const = 0;

  // Creates the section when needed and replaces any earlier value. False when the write failed.
  virtual bool save(std::wstring_view key, std::wstring_view value) = 0;
};

}  // namespace slidewell::settings

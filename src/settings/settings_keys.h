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
std::wstring sectionPath();

// "Picture", one space, the index in decimal without sign or leading zeros.
std::wstring pictureKey(int index);

}  // namespace slidewell::settings

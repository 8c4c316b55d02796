#include "settings/settings_keys.h"

namespace slidewell::settings {

std::wstring sectionPath() { return L"Software\\" + std::wstring(kApplication) + L"\\" + std::wstring(kSection); }

std::wstring pictureKey(int index) { return L"Picture " + std::to_wstring(index); }

}  // namespace slidewell::settings

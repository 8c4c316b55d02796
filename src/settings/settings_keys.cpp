#include "settings/settings_keys.h"

namespace slidewell::settings {

std::wstring pictureKey(int index) { return L"Picture " + std::to_wstring(index); }

}  // namespace slidewell::settings

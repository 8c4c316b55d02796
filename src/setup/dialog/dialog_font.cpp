#include "setup/dialog/dialog_font.h"

#include <algorithm>
#include <string_view>

namespace slidewell::setup {

win::UniqueFont createDialogFont(UINT dpi) {
  constexpr int kPoints = 8;
  constexpr int kPointsPerInch = 72;
  LOGFONTW font{};
  // Negative: the height of the characters themselves, without the internal leading.
  font.lfHeight = -MulDiv(kPoints, static_cast<int>(dpi), kPointsPerInch);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  constexpr std::wstring_view kFace = L"MS Shell Dlg";
  std::copy(kFace.begin(), kFace.end(), font.lfFaceName);
  return win::UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace slidewell::setup

#include "test_parent.h"

#include "setup/dialog/control_factory.h"
#include "win/window_text.h"

namespace slidewell::testing_support {
namespace {

constexpr wchar_t kClassName[] = L"SlidewellTestParent";

}  // namespace

TestParent::TestParent() {
  create(GetModuleHandleW(nullptr), {kClassName},
         {.style = WS_OVERLAPPEDWINDOW, .title = L"test", .place = RECT{0, 0, 400, 400}});
}

TestParent::~TestParent() { destroy(); }

HWND TestParent::createControl(setup::ControlId id) {
  const setup::ControlLayout& layout = setup::layoutOf(id);
  const HWND control = setup::createControl(hwnd(), layout, GetModuleHandleW(nullptr), image_);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  setup::placeControl(control, layout, 96);
  return control;
}

LRESULT TestParent::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return 0;
  }
  return DefWindowProcW(hwnd(), message, wParam, lParam);
}

RECT rectInClient(HWND window, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<std::wstring> listBoxTexts(HWND list) {
  std::vector<std::wstring> texts;
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) texts.push_back(win::listItemText(list, i));
  return texts;
}

}  // namespace slidewell::testing_support

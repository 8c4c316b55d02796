#include "owner_window.h"

#include <cstdint>
#include <future>

namespace slidewell::e2e {

OwnerWindow::OwnerWindow() {
  std::promise<HWND> created;
  std::future<HWND> window = created.get_future();
  thread_ = std::thread([&created] {
    const HWND own =
        CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    created.set_value(own);
    if (own == nullptr) return;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DestroyWindow(own);
  });
  window_ = window.get();
}

OwnerWindow::~OwnerWindow() {
  if (window_ != nullptr) PostThreadMessageW(GetWindowThreadProcessId(window_, nullptr), WM_QUIT, 0, 0);
  thread_.join();
}

std::wstring OwnerWindow::setupArguments() const {
  return L"/c:" + std::to_wstring(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_)));
}

}  // namespace slidewell::e2e

#include "owner_window.h"

#include <cstdint>

#include "win/handles.h"

namespace slidewell::e2e {

OwnerWindow::OwnerWindow() {
  // A plain event rather than a promise: the C++ library of every compiler the tests are built with
  // has it.
  const win::UniqueKernelHandle created(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HWND made = nullptr;
  thread_ = std::thread([&made, event = created.get()] {
    const HWND own =
        CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    made = own;
    SetEvent(event);
    if (own == nullptr) return;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DestroyWindow(own);
  });
  WaitForSingleObject(created.get(), INFINITE);
  window_ = made;
}

OwnerWindow::~OwnerWindow() {
  if (window_ != nullptr) PostThreadMessageW(GetWindowThreadProcessId(window_, nullptr), WM_QUIT, 0, 0);
  thread_.join();
}

std::wstring OwnerWindow::setupArguments() const {
  return L"/c:" + std::to_wstring(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_)));
}

}  // namespace slidewell::e2e

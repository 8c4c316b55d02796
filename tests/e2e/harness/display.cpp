#include "display.h"

#include "win/platform.h"

namespace slidewell::e2e {
namespace {

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

// The value behind DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE, which the headers of the oldest supported
// system do not declare.
const auto kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

}  // namespace

void seePhysicalPixels() {
  using SetContext = HANDLE(WINAPI*)(HANDLE);
  const auto set = win::systemFunction<SetContext>(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext");
  if (set == nullptr || set(kPerMonitorAware) == nullptr) SetProcessDPIAware();
}

ScopedLogPixels::ScopedLogPixels(DWORD dpi) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kDesktop, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
      ERROR_SUCCESS) {
    previous_ = value;
  }
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, kLogPixels, REG_DWORD, &dpi, sizeof dpi);
}

ScopedLogPixels::~ScopedLogPixels() {
  if (previous_) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, kLogPixels, REG_DWORD, &*previous_, sizeof *previous_);
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, kLogPixels);
  }
}

}  // namespace slidewell::e2e

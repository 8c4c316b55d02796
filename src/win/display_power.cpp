#include "win/display_power.h"

#include "win/platform.h"

namespace slidewell::win {
namespace {

// GUID_CONSOLE_DISPLAY_STATE, written out so that no library has to define it.
constexpr GUID kConsoleDisplayState{0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
constexpr DWORD kDisplayOff = 0;

using RegisterFunction = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
using UnregisterFunction = BOOL(WINAPI*)(HPOWERNOTIFY);

HMODULE user32() { return GetModuleHandleW(L"user32.dll"); }

}  // namespace

BOOL WINAPI unregisterDisplayPower(HPOWERNOTIFY registration) noexcept {
  static const auto unregister = systemFunction<UnregisterFunction>(user32(), "UnregisterPowerSettingNotification");
  return unregister != nullptr && unregister(registration);
}

DisplayPowerRegistration registerDisplayPower(HWND window) {
  static const auto registerFor = systemFunction<RegisterFunction>(user32(), "RegisterPowerSettingNotification");
  if (registerFor == nullptr) return DisplayPowerRegistration();
  return DisplayPowerRegistration(registerFor(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE));
}

std::optional<bool> displayVisibleFrom(WPARAM event, LPARAM setting) {
  if (event != PBT_POWERSETTINGCHANGE || setting == 0) return std::nullopt;
  const auto& told = *reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
  if (told.PowerSetting != kConsoleDisplayState || told.DataLength < sizeof(DWORD)) return std::nullopt;
  DWORD state = 0;
  CopyMemory(&state, told.Data, sizeof state);
  return state != kDisplayOff;
}

}  // namespace slidewell::win

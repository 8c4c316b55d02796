#pragma once

#include <windows.h>

#include <optional>

#include "win/handles.h"

namespace slidewell::win {

// Whether anyone can see the screen: the state of the console display (the monitors of the session
// that the user sits at), which the power plan switches off and dims.

// Ends a registration of registerDisplayPower's; the system's own function, found at run time.
BOOL WINAPI unregisterDisplayPower(HPOWERNOTIFY registration) noexcept;
using DisplayPowerRegistration = Unique<HPOWERNOTIFY, unregisterDisplayPower>;

// Asks the system to tell `window` of every change of the console display's state, and of the state it
// is in now, by WM_POWERBROADCAST, until the registration goes. Empty where the system has no such
// notification (the function is found at run time), and then nothing is told.
DisplayPowerRegistration registerDisplayPower(HWND window);

// What a WM_POWERBROADCAST tells of the console display: whether it can be seen (on or dimmed: true;
// off: false). nullopt for any other news.
std::optional<bool> displayVisibleFrom(WPARAM event, LPARAM setting);

}  // namespace slidewell::win

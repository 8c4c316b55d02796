#pragma once

#include <windows.h>

namespace slidewell::e2e {

// Input as a user gives it, through SendInput; it goes to the foreground window.
void pressKey(WORD virtualKey);
// The key pressed while Shift is held down.
void pressKeyWithShift(WORD virtualKey);
// Moves the pointer to a screen position, then waits 40 ms so that moves the target has not read yet
// do not merge into one message.
void movePointerTo(int x, int y);
void clickLeft();
// Two clicks within the double-click time.
void doubleClickLeft();

// Whether the mouse cursor is shown.
bool cursorShowing();

}  // namespace slidewell::e2e

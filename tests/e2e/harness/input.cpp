#include "input.h"

#include <vector>

namespace slidewell::e2e {
namespace {

INPUT key(WORD virtualKey, DWORD flags = 0) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = flags;
  return input;
}

INPUT mouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

void send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(40);
}

}  // namespace

void pressKey(WORD virtualKey) { send({key(virtualKey), key(virtualKey, KEYEVENTF_KEYUP)}); }

void pressKeyWithShift(WORD virtualKey) {
  send({key(VK_SHIFT), key(virtualKey), key(virtualKey, KEYEVENTF_KEYUP), key(VK_SHIFT, KEYEVENTF_KEYUP)});
}

void movePointerTo(int x, int y) {
  // Absolute positions run from 0 to 65535 over the virtual screen.
  INPUT input = mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK);
  input.mi.dx = MulDiv(x - GetSystemMetrics(SM_XVIRTUALSCREEN), 65535, GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1);
  input.mi.dy = MulDiv(y - GetSystemMetrics(SM_YVIRTUALSCREEN), 65535, GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
  send({input});
}

void clickLeft() { send({mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)}); }

void doubleClickLeft() {
  const INPUT down = mouse(MOUSEEVENTF_LEFTDOWN), up = mouse(MOUSEEVENTF_LEFTUP);
  send({down, up, down, up});
}

bool cursorShowing() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

}  // namespace slidewell::e2e

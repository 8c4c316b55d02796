#include "input.h"

namespace slidewell::e2e {

void pressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtualKey;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(40);
}

void pressKeyWithShift(WORD virtualKey) {
  INPUT inputs[4] = {};
  for (auto& input : inputs) input.type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = VK_SHIFT;
  inputs[1].ki.wVk = virtualKey;
  inputs[2].ki.wVk = virtualKey;
  inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
  inputs[3].ki.wVk = VK_SHIFT;
  inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, inputs, sizeof(INPUT));
  Sleep(40);
}

void movePointerTo(int x, int y) {
  // Absolute positions run from 0 to 65535 over the virtual screen.
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(x - left, 65535, width - 1);
  input.mi.dy = MulDiv(y - top, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  SendInput(1, &input, sizeof(INPUT));
  Sleep(40);
}

void clickLeft() {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1] = inputs[0];
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(40);
}

void doubleClickLeft() {
  INPUT inputs[4] = {};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, inputs, sizeof(INPUT));
  Sleep(40);
}

}  // namespace slidewell::e2e

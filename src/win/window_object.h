#pragma once

#include <windows.h>

#include <functional>

namespace slidewell::win {

// How a kind of window is registered: its class name, and the brush its background is erased with
// (none for a window that paints every pixel itself).
struct WindowClass {
  const wchar_t* name;
  HBRUSH background = nullptr;
};

// Where and how a window is created.
struct WindowShape {
  DWORD style = 0;
  DWORD exStyle = 0;
  const wchar_t* title = L"";
  RECT place{};
  HWND parent = nullptr;
  int id = 0;  // a child control's id
};

// The base of every window of the program: windows as small objects. The object travels as the creation
// parameter, is attached to its window at WM_NCCREATE and found again through GWLP_USERDATA, so that no
// window state lives in statics; messages before WM_NCCREATE and after WM_NCDESTROY get the default
// handling.
class WindowObject {
 public:
  WindowObject(const WindowObject&) = delete;
  WindowObject& operator=(const WindowObject&) = delete;

  HWND hwnd() const noexcept { return window_; }

 protected:
  WindowObject() = default;
  // A window still there goes with its object, no longer reaching it.
  ~WindowObject();

  // Registers the class (once per process) and creates the window with this object attached; the
  // creation messages already reach onMessage(). False when either failed.
  bool create(HINSTANCE instance, const WindowClass& windowClass, const WindowShape& shape);
  // Destroys the window while the derived object can still answer its last messages.
  void destroy() noexcept;

  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  HWND window_ = nullptr;
};

// The thread's message loop, for as long as `window` exists. `takenFirst` may take a message before it
// is translated and dispatched; it returns true for one it took.
void runMessageLoop(const WindowObject& window, const std::function<bool(MSG&)>& takenFirst = nullptr);

}  // namespace slidewell::win

#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace slidewell::e2e {

// A hidden top-level window of the test's own, such as the screen-saver settings would ask for the dialog
// from. It lives on a thread of its own that answers its messages, so that the program under test can
// disable and enable it (which sends it messages) whatever the test's thread is doing.
class OwnerWindow {
 public:
  OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow();

  HWND hwnd() const { return window_; }
  // The command line that asks for the setup dialog on behalf of this window: "/c:" and its handle in
  // decimal, as the screen-saver machinery writes it.
  std::wstring setupArguments() const;

 private:
  HWND window_ = nullptr;
  std::thread thread_;
};

}  // namespace slidewell::e2e

#include <windows.h>

#include "setup/dialog/setup_dialog.h"
#include "slideshow/slide_window.h"
#include "startup/mode.h"

// The screen-saver machinery passes its request as the command line's arguments; the program's own
// path is already gone from `arguments`.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  switch (slidewell::chooseMode(arguments != nullptr ? arguments : L"")) {
    case slidewell::Mode::Setup:
      return slidewell::runSetupDialog(instance);
    case slidewell::Mode::Show:
      return slidewell::runSlideShow(instance);
    case slidewell::Mode::None:
      break;
  }
  return 0;
}

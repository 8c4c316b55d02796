#include <windows.h>

#include <cstdint>
#include <string_view>

#include "settings/registry_settings_store.h"
#include "setup/dialog/setup_dialog.h"
#include "slideshow/slide_window.h"
#include "startup/mode.h"
#include "win/com.h"
#include "win/window_object.h"

namespace slidewell::startup {
namespace {

// Ending either window ends the program at once: no further event of any window runs, and the show
// writes nothing.
void endProgram() { ExitProcess(0); }

// The window that "/c:NNNN" names, when it names one: the dialog is then its own.
HWND setupOwnerWindow(std::wstring_view arguments) {
  const auto number = setupOwner(arguments);
  if (!number) return nullptr;
  // A window handle is a 32-bit value that 64-bit Windows extends by its sign.
  const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(*number)));
  return IsWindow(window) ? window : nullptr;
}

int runSetupDialog(HINSTANCE instance, settings::SettingsStore& store, HWND owner) {
  // The dialog tells screen readers its controls' names through COM.
  const win::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  setup::SetupDialog dialog(instance, store, endProgram, owner);
  if (!dialog.create()) return 1;
  dialog.show();
  win::runMessageLoop(dialog, [&](MSG& message) { return dialog.takesFirst(message); });
  return 0;
}

int runSlideShow(HINSTANCE instance, const settings::SettingsStore& store) {
  slideshow::SlideWindow window(instance, store, endProgram);
  if (!window.open()) return 1;
  window.show();
  // The window closed another way (the platform's close command) ends the loop and the program.
  win::runMessageLoop(window);
  return 0;
}

}  // namespace
}  // namespace slidewell::startup

// The screen-saver machinery passes its request as the command line's arguments; the program's own
// path is already gone from `arguments`.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  using namespace slidewell;
  // The show needs no COM on this thread: its pictures are read on threads that set COM up when they
  // first need the imaging component, and a show of bitmaps never does, which spares its start some
  // 30 ms.
  settings::RegistrySettingsStore store;
  const std::wstring_view commandLine = arguments != nullptr ? arguments : L"";
  switch (startup::chooseMode(commandLine)) {
    case startup::Mode::Setup:
      return startup::runSetupDialog(instance, store, startup::setupOwnerWindow(commandLine));
    case startup::Mode::Show:
      return startup::runSlideShow(instance, store);
    case startup::Mode::None:
      break;
  }
  return 0;
}

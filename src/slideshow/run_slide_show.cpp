#include "settings/registry_settings_store.h"
#include "slideshow/slide_window.h"
#include "win/com.h"

namespace slidewell {

int runSlideShow(HINSTANCE instance) {
  const win::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const RegistrySettingsStore store;
  // Ending the show ends the program at once: no further tick or paint, nothing written.
  SlideWindow window(instance, store, [] { ExitProcess(0); });
  if (!window.open()) return 1;
  window.show();
  // The window closed another way (the platform's close command) ends the loop and the program.
  MSG message{};
  while (window.open() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace slidewell

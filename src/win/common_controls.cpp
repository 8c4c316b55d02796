#include "win/common_controls.h"

#include <commctrl.h>

namespace slidewell::win {

bool loadCommonControls(DWORD classes) {
  // From the system folder only, so that no file of that name beside the program is taken for it; the
  // flag is unknown to systems without the safer search, which then search as for an import.
  HMODULE library = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) library = LoadLibraryW(L"comctl32.dll");
  if (library == nullptr) return false;
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  // Through the generic function type, which the compilers take as a deliberate cast.
  const auto initialise = reinterpret_cast<InitCommonControlsExFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControlsEx")));
  if (initialise == nullptr) return false;
  const INITCOMMONCONTROLSEX request{sizeof request, classes};
  return initialise(&request) != FALSE;
}

}  // namespace slidewell::win

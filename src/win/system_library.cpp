#include "win/system_library.h"

#include <commctrl.h>

namespace slidewell::win {

HMODULE systemLibrary(const wchar_t* name) {
  // The flag is unknown to systems without the safer search, which then search as for an import.
  const HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) return LoadLibraryW(name);
  return library;
}

bool loadCommonControls(DWORD classes) {
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initialise =
      systemFunction<InitCommonControlsExFunction>(systemLibrary(L"comctl32.dll"), "InitCommonControlsEx");
  if (initialise == nullptr) return false;
  const INITCOMMONCONTROLSEX request{sizeof request, classes};
  return initialise(&request) != FALSE;
}

}  // namespace slidewell::win

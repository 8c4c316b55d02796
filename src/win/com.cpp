#include "win/com.h"

#include "win/platform.h"

namespace slidewell::win {
namespace {

HMODULE ole32() {
  static const HMODULE module = systemLibrary(L"ole32.dll");
  return module;
}

}  // namespace

HRESULT initialiseCom(DWORD model) noexcept {
  static const auto initialise = systemFunction<HRESULT(WINAPI*)(LPVOID, DWORD)>(ole32(), "CoInitializeEx");
  return initialise != nullptr ? initialise(nullptr, model) : E_FAIL;
}

void uninitialiseCom() noexcept {
  static const auto uninitialise = systemFunction<void(WINAPI*)()>(ole32(), "CoUninitialize");
  if (uninitialise != nullptr) uninitialise();
}

HRESULT createInstance(REFCLSID id, REFIID interfaceId, void** object) noexcept {
  using Create = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  static const auto create = systemFunction<Create>(ole32(), "CoCreateInstance");
  if (create == nullptr) {
    *object = nullptr;
    return REGDB_E_CLASSNOTREG;
  }
  return create(id, nullptr, CLSCTX_INPROC_SERVER, interfaceId, object);
}

}  // namespace slidewell::win

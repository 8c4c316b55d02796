#include "accessibility.h"

#include <oleacc.h>

#include "win/com.h"

namespace slidewell::e2e {

std::optional<std::wstring> accessibleName(HWND window) {
  const win::ComApartment com(COINIT_APARTMENTTHREADED);
  win::UniqueCom<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(object.put())))) {
    return std::nullopt;
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object.get()->get_accName(self, &name) != S_OK || name == nullptr) return std::nullopt;
  std::wstring text(name, SysStringLen(name));
  SysFreeString(name);
  return text;
}

bool propertyServiceTakesNames() {
  const win::ComApartment com(COINIT_APARTMENTTHREADED);
  win::UniqueCom<IAccPropServices> service;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(service.put())))) {
    return false;
  }
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  MSAAPROPID name = PROPID_ACC_NAME;
  const bool taken =
      SUCCEEDED(service.get()->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, name, L"probe"));
  if (taken) service.get()->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
  DestroyWindow(window);
  return taken;
}

}  // namespace slidewell::e2e

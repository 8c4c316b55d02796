#include "setup/dialog/accessible_name.h"

#include <oleacc.h>

#include <string>

#include "win/com.h"

namespace slidewell::setup {

bool nameForScreenReaders(HWND control, std::wstring_view name) {
  win::UniqueCom<IAccPropServices> service;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(service.put())))) {
    return false;
  }
  // The service keeps its own copy of the text.
  const std::wstring text(name);
  return SUCCEEDED(service->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                 PROPID_ACC_NAME, text.c_str()));
}

}  // namespace slidewell::setup

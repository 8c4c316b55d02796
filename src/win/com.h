#pragma once

#include <windows.h>
#include <objbase.h>

#include "win/handles.h"

namespace slidewell::win {

// A COM interface pointer with one owner: released once, when the owner goes.
template <typename Interface>
void release(Interface* object) noexcept {
  object->Release();
}
template <typename Interface>
class UniqueCom : public Unique<Interface*, release<Interface>> {
  using Owner = Unique<Interface*, release<Interface>>;

 public:
  using Owner::Owner;
  Interface* operator->() const noexcept { return this->get(); }
};

// COM on this thread for the length of a scope; uninitialised only if the scope initialised it.
class ComApartment {
 public:
  explicit ComApartment(DWORD model) noexcept : result_(CoInitializeEx(nullptr, model)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace slidewell::win

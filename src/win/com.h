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

// COM's own functions, found in ole32 when first needed: a program that never needs COM (a show of
// bitmaps) never loads it, which under Wine spares its start some 30 ms. Each fails as COM would when
// ole32 cannot be had.
HRESULT initialiseCom(DWORD model) noexcept;
void uninitialiseCom() noexcept;
// An in-process object of class `id`, by its interface `interfaceId`.
HRESULT createInstance(REFCLSID id, REFIID interfaceId, void** object) noexcept;

// COM on this thread for the length of a scope; uninitialised only if the scope initialised it.
class ComApartment {
 public:
  explicit ComApartment(DWORD model) noexcept : result_(initialiseCom(model)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) uninitialiseCom();
  }

 private:
  HRESULT result_;
};

}  // namespace slidewell::win

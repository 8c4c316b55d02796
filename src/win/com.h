#pragma once

#include <windows.h>
#include <objbase.h>

#include "win/unique_handle.h"

namespace slidewell::win {

// A COM interface pointer with one owner: released once, when the owner goes.
template <typename Interface>
struct ComInterfaceTraits {
  using Handle = Interface*;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle object) noexcept { object->Release(); }
};
template <typename Interface>
using UniqueCom = UniqueHandle<ComInterfaceTraits<Interface>>;

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

#pragma once

#include <windows.h>

#include "win/unique_handle.h"

namespace slidewell::testing_support {

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueKernelHandle = win::UniqueHandle<KernelHandleTraits>;

// Files use INVALID_HANDLE_VALUE, not null, for "no handle".
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueFileHandle = win::UniqueHandle<FileHandleTraits>;

}  // namespace slidewell::testing_support

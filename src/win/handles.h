#pragma once

#include <windows.h>

#include "win/unique_handle.h"

namespace slidewell::win {

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle key) noexcept { RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

// Directory searches from FindFirstFileExW: closed with FindClose, and "no search" is INVALID_HANDLE_VALUE.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) noexcept { FindClose(handle); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

// Files from CreateFileW: closed with CloseHandle, and "no file" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

struct IconTraits {
  using Handle = HICON;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle icon) noexcept { DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

// A window kept disabled while a window it owns stands in for it, as a modal dialog keeps its owner: held
// from EnableWindow(FALSE), enabled again when let go.
struct DisabledWindowTraits {
  using Handle = HWND;
  static Handle empty() noexcept { return nullptr; }
  static void close(Handle window) noexcept { EnableWindow(window, TRUE); }
};
using DisabledWindow = UniqueHandle<DisabledWindowTraits>;

}  // namespace slidewell::win

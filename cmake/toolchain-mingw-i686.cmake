# 32-bit Windows, cross-compiled with MinGW-w64's posix-thread compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SLIDEWELL_MINGW_TRIPLE i686-w64-mingw32)
set(SLIDEWELL_WINDOWS_TARGET win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

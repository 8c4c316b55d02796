# 32-bit Windows, cross-compiled with MinGW-w64's posix-thread compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SLIDEWELL_MINGW_TRIPLE i686-w64-mingw32)
# SSE2 arithmetic, as the 64-bit build and MSVC use: the x87 unit's 80-bit intermediates would round the
# interval and the places differently from the other builds. Every Windows that runs the program has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

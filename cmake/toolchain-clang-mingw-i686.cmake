# 32-bit Windows, cross-compiled with clang, in SSE2 arithmetic as the other builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SLIDEWELL_MINGW_TRIPLE i686-w64-mingw32)
set(SLIDEWELL_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw-common.cmake)

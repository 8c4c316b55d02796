# Shared by the MinGW toolchain files; SLIDEWELL_MINGW_TRIPLE names the target.
# The posix-thread compilers are used because GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${SLIDEWELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SLIDEWELL_MINGW_TRIPLE}-g++-posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-target.cmake)

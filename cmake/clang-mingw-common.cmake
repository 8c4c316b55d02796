# Shared by the clang toolchain files: Debian's clang 16 for the MinGW-w64 target, against the C++ library
# and headers of MinGW-w64's posix-thread GCC, linked by lld 16. SLIDEWELL_MINGW_TRIPLE names the target,
# SLIDEWELL_ARCH_FLAGS what it adds to every compile. Debian's clang does not find that GCC by itself,
# because its folder is named "12-posix". The default ld.lld is version 14, which refuses the linker
# directives that clang 16 writes; GNU ld takes them but warns on every C++ library section.
set(CMAKE_C_COMPILER clang-16)
set(CMAKE_CXX_COMPILER clang++-16)
set(CMAKE_C_COMPILER_TARGET ${SLIDEWELL_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${SLIDEWELL_MINGW_TRIPLE})
file(GLOB slidewell_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${SLIDEWELL_MINGW_TRIPLE}/*-posix)
list(GET slidewell_gcc_dirs -1 slidewell_gcc)
set(slidewell_cxx_headers
    "-isystem ${slidewell_gcc}/include/c++ -isystem ${slidewell_gcc}/include/c++/${SLIDEWELL_MINGW_TRIPLE} -isystem ${slidewell_gcc}/include/c++/backward")
set(CMAKE_C_FLAGS_INIT "${SLIDEWELL_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${SLIDEWELL_ARCH_FLAGS} ${slidewell_cxx_headers}")
# -pthread links winpthread, which the posix-thread C++ library needs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld-16 -L${slidewell_gcc} -pthread")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-target.cmake)

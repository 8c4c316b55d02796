# What every toolchain for the MinGW-w64 target shares, whichever compiler it uses; SLIDEWELL_MINGW_TRIPLE
# names the target.
set(CMAKE_RC_COMPILER ${SLIDEWELL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SLIDEWELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the Windows test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${SLIDEWELL_WINDOWS_TARGET})

# Shared by both MinGW toolchains. The -posix compilers are required: the
# -win32 thread model has no std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${MERIDEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MERIDEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MERIDEL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MERIDEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Only the 64-bit build can run here (this kernel has no 32-bit support), so
# only it gets Wine as the emulator that CTest runs test programs through.
if(MERIDEL_TRIPLE STREQUAL "x86_64-w64-mingw32")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
endif()

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
# CTest runs the test programs through Wine. The i686 tree's tests need 32-bit
# Wine; scripts/test runs them only where scripts/setup could install it.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine_run.sh)

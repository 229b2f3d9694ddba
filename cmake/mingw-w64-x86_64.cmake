# SPDX-License-Identifier: MIT
# Cross-builds Kelvane for 64-bit Windows with Debian's MinGW-w64 (the
# -posix compilers, whose C++ library has std::thread). Programs built so
# run under Wine: CTest starts them through wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Debian's wine64 package has no wine64 on PATH; /usr/bin/wine wants the
# 32-bit loader first.
find_program(KELVANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT KELVANE_WINE64)
    find_program(KELVANE_WINE64 NAMES wine64 wine)
endif()
# A Wine prefix of the build's own, quiet: the tests touch no user's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all
    ${KELVANE_WINE64})

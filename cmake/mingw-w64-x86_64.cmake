# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (package
# mingw-w64, compilers x86_64-w64-mingw32-gcc and -g++).
#   cmake -S tests/win32 -B build-win32 -G Ninja \
#         --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CORVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CORVANE_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${CORVANE_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${CORVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CORVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

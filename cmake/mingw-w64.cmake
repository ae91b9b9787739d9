# SPDX-License-Identifier: MIT
# Cross-builds for 64-bit Windows with Debian's mingw-w64 (POSIX threads),
# linked statically so that the programs need no DLLs beside them, and run
# under Wine when the tests run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# GCC 12 warns falsely of overlapping copies inside std::string here (its
# bug 105651).
set(CMAKE_CXX_FLAGS_INIT -Wno-restrict)
find_program(SCENESHIFTER_WINE wine)
if(SCENESHIFTER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SCENESHIFTER_WINE})
endif()

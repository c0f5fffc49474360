# Cross-building for 64-bit Windows with Debian's mingw-w64 (packages g++-mingw-w64-x86-64-posix
# and, to run what is built, wine64). The posix flavour of the compiler is the one whose C++
# run-time has std::mutex and std::thread. Programs and the engine DLL link the compiler's
# run-time statically, so voxtrel.dll needs nothing but Windows' own C run-time, as on Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSIVAR_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TESSIVAR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSIVAR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSIVAR_MINGW}-windres)

# Headers and libraries of the target only (mingw-w64's, and a Qt 6 for Windows built with this
# compiler when TESSIVAR_QT_WINDOWS names its folder); build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSIVAR_MINGW} ${TESSIVAR_QT_WINDOWS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# 64-bit Windows keeps the stack aligned to 16 bytes only, and GCC spills 32-byte AVX registers
# with aligned moves: the assembler makes every such move an unaligned one, which costs nothing
# on processors with AVX and keeps the AVX routines from faulting.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

# Programs built here (the example data generator at build time, the tests) run under wine:
# Debian's wine64 package installs it as /usr/lib/wine/wine64, the wine package as wine.
find_program(TESSIVAR_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TESSIVAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSIVAR_WINE})
endif()

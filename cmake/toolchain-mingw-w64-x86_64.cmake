# Cross-builds Trelvox for 64-bit Windows with Debian's MinGW-w64 (posix threads), and runs the
# built programs under Wine, so that ctest tests the Windows build on a Linux machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRELVOX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRELVOX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVOX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVOX_MINGW_TRIPLET}-windres)

# Only the MinGW sysroot is searched for headers and libraries: the host's /usr/include must
# never leak into a Windows build.
set(CMAKE_FIND_ROOT_PATH /usr/${TRELVOX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread are linked in, so the .exe needs only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine, in a scratch prefix of the build folder's own; a test that fails shows
# Wine's own error messages too.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh
                                  --prefix=${CMAKE_BINARY_DIR}/wineprefix --show-wine-errors)

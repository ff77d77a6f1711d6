# Cross build for 64-bit Windows with Debian's MinGW-w64, posix threads flavour (std::thread and
# std::mutex need it). The programs run under Wine on this side, so the tests do too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})

# Where the build of third-party libraries for Windows (PCRE2) is installed; header-only
# libraries are taken from the host's Debian packages.
set(NIMBREL_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps/prefix" CACHE PATH
    "Install prefix of the libraries cross-built for Windows")
list(APPEND CMAKE_FIND_ROOT_PATH ${NIMBREL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# pkg-config must describe the Windows libraries, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${NIMBREL_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# The programs carry their C and C++ runtimes and winpthread inside, so an .exe runs under
# Wine (or on a Windows machine) without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The windows preset runs the programs through scripts/wine-run.sh in a throw-away prefix; a
# build without the preset falls back to Wine's own default prefix.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(NIMBREL_WINE NAMES wine64 wine)
    if(NIMBREL_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${NIMBREL_WINE})
    endif()
endif()

# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads),
# against the libraries scripts/build-mingw-deps puts in CALYX_MINGW_PREFIX
# (default ~/.cache/calyx-mingw). Programs are run under wine64 through
# scripts/wine-run (tests, GoogleTest's discovery).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{CALYX_MINGW_PREFIX})
  set(CALYX_MINGW_PREFIX "$ENV{CALYX_MINGW_PREFIX}")
else()
  set(CALYX_MINGW_PREFIX "$ENV{HOME}/.cache/calyx-mingw")
endif()

# Only the compiler's own files and the prefix: the host's /usr/include and
# /usr/lib stay out of the cross build.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CALYX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${CALYX_MINGW_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Each program runs on a bare Windows: the C++ runtime, libgcc and the
# threads library are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")

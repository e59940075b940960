# Cross-compilation for 32-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(SCANLINK_MINGW_TRIPLE i686-w64-mingw32)

# The win32 thread model: the product starts no thread, and this runtime needs no pthread library
# beside it. The posix variant would work as well, with winpthread linked statically.
set(CMAKE_C_COMPILER ${SCANLINK_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${SCANLINK_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${SCANLINK_MINGW_TRIPLE}-windres)

# The compiler names carry a suffix, so CMake cannot derive the binutils from them.
find_program(CMAKE_AR ${SCANLINK_MINGW_TRIPLE}-ar REQUIRED)
find_program(CMAKE_RANLIB ${SCANLINK_MINGW_TRIPLE}-ranlib REQUIRED)
find_program(CMAKE_STRIP ${SCANLINK_MINGW_TRIPLE}-strip REQUIRED)
find_program(CMAKE_OBJDUMP ${SCANLINK_MINGW_TRIPLE}-objdump REQUIRED)

# Libraries and headers come from the target's sysroot only; programs (javac, objdump) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${SCANLINK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

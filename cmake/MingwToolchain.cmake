# Cross-compilation for Windows with Debian's MinGW-w64, shared by the toolchain files: each sets
# SCANLINK_MINGW_TRIPLE, SCANLINK_MINGW_THREADS (win32 or posix) and CMAKE_SYSTEM_PROCESSOR first.
#
# The Windows deliverables use the win32 thread model: the product starts no thread, and its
# runtime then needs no pthread library. GCC 12 has no std::thread or std::mutex in that model, so
# what needs them (GoogleTest, the virtual scanner's worker thread) is built with the posix model
# and its pthread library linked in statically.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${SCANLINK_MINGW_TRIPLE}-gcc-${SCANLINK_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${SCANLINK_MINGW_TRIPLE}-g++-${SCANLINK_MINGW_THREADS})
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

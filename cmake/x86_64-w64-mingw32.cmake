# Cross-compilation for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(SCANLINK_MINGW_TRIPLE x86_64-w64-mingw32)
set(SCANLINK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

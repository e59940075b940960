# Cross-compilation for 32-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SCANLINK_MINGW_TRIPLE i686-w64-mingw32)
set(SCANLINK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

# Cross-compilation for 32-bit Windows with the posix thread model, for the test programs that run
# under 32-bit Wine (see MingwToolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SCANLINK_MINGW_TRIPLE i686-w64-mingw32)
set(SCANLINK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

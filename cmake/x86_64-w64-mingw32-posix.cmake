# Cross-compilation for 64-bit Windows with the posix thread model, for the programs that run the
# tests under Wine (see MingwToolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(SCANLINK_MINGW_TRIPLE x86_64-w64-mingw32)
set(SCANLINK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

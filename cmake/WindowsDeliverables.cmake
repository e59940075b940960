# The Windows deliverables: the JNI library and Ramtally.exe as a Windows user receives them, and
# their checks. A 32-bit build makes scanlink32.dll, for a 32-bit VM; a 64-bit build makes
# scanlink64.dll, for a 64-bit VM, runs the Windows code under Wine, and packs the zip that carries
# both libraries.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(SCANLINK_WINDOWS_ARCH x86_64)
  set(SCANLINK_LIBRARY_NAME scanlink64)
else()
  set(SCANLINK_WINDOWS_ARCH x86)
  set(SCANLINK_LIBRARY_NAME scanlink32)
endif()

# System.loadLibrary("scanlink32") looks for scanlink32.dll, not libscanlink32.dll; a 64-bit VM is
# given scanlink64.
set_target_properties(scanlink32 PROPERTIES PREFIX "" OUTPUT_NAME ${SCANLINK_LIBRARY_NAME})

# The version resource, with the project's one version number.
enable_language(RC)
configure_file(${PROJECT_SOURCE_DIR}/version/scanlink32.rc.in
  ${CMAKE_BINARY_DIR}/generated/scanlink32.rc @ONLY)
target_sources(scanlink32 PRIVATE ${CMAKE_BINARY_DIR}/generated/scanlink32.rc)

# The VM looks the natives and the load hooks up by their plain names; __stdcall functions would
# otherwise be exported as name@N on 32-bit Windows.
target_link_options(scanlink32 PRIVATE -Wl,--kill-at)

# The C and C++ runtimes go into each binary, so that it needs only DLLs that every Windows has.
foreach(deliverable IN ITEMS scanlink32 Ramtally)
  target_link_options(${deliverable} PRIVATE -static)
endforeach()

enable_testing()
if(SCANLINK_WINDOWS_ARCH STREQUAL "x86_64")
  include(WindowsPackage)
endif()
add_subdirectory(tests/windows_binaries)
if(SCANLINK_WINDOWS_ARCH STREQUAL "x86_64")
  include(WineTests)
else()
  include(JniHostX86)
endif()

# The Windows deliverables: the JNI library, the bridge program and Ramtally.exe as a Windows user
# receives them, and their checks. A 32-bit build makes scanlink32.dll, for a 32-bit VM; a 64-bit build makes
# scanlink64.dll, for a 64-bit VM, and packs the zip that carries both libraries. Each runs its
# Windows code under Wine, with its library as the zip carries it.

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

# The files of the zip that this build makes, stripped: its library, and in the 32-bit build
# Ramtally.exe, which the zip carries in its 32-bit build. The Wine tests run these very files, and
# the 64-bit build packs the 32-bit build's as they are.
set(SCANLINK_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package_files)
set(staged_library ${SCANLINK_PACKAGE_STAGE}/${SCANLINK_LIBRARY_NAME}.dll)
add_custom_command(OUTPUT ${staged_library}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SCANLINK_PACKAGE_STAGE}
  COMMAND ${CMAKE_STRIP} -o ${staged_library} $<TARGET_FILE:scanlink32>
  DEPENDS scanlink32
  COMMENT "Stripping ${SCANLINK_LIBRARY_NAME}.dll for the zip")
# The bridge program of this width, which the zip and the jar carry beside the library.
set(SCANLINK_STAGED_BRIDGE ${SCANLINK_PACKAGE_STAGE}/${SCANLINK_BRIDGE_NAME}.exe)
add_custom_command(OUTPUT ${SCANLINK_STAGED_BRIDGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SCANLINK_PACKAGE_STAGE}
  COMMAND ${CMAKE_STRIP} -o ${SCANLINK_STAGED_BRIDGE} $<TARGET_FILE:scanlink-bridge>
  DEPENDS scanlink-bridge
  COMMENT "Stripping ${SCANLINK_BRIDGE_NAME}.exe for the zip")
set(staged_files ${staged_library} ${SCANLINK_STAGED_BRIDGE})
if(SCANLINK_WINDOWS_ARCH STREQUAL "x86")
  set(SCANLINK_STAGED_RAMTALLY ${SCANLINK_PACKAGE_STAGE}/Ramtally.exe)
  add_custom_command(OUTPUT ${SCANLINK_STAGED_RAMTALLY}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SCANLINK_PACKAGE_STAGE}
    COMMAND ${CMAKE_STRIP} -o ${SCANLINK_STAGED_RAMTALLY} $<TARGET_FILE:Ramtally>
    DEPENDS Ramtally
    COMMENT "Stripping Ramtally.exe for the zip")
  list(APPEND staged_files ${SCANLINK_STAGED_RAMTALLY})
endif()
add_custom_target(staged_deliverables ALL DEPENDS ${staged_files})

enable_testing()
if(SCANLINK_WINDOWS_ARCH STREQUAL "x86_64")
  include(WindowsPackage)
endif()
add_subdirectory(tests/windows_binaries)
include(WineTests)

# The Windows deliverables: scanlink32.dll and Ramtally.exe as a Windows user receives them, their
# checks, and the zip that carries them with the Java binding.

# System.loadLibrary("scanlink32") looks for scanlink32.dll, not libscanlink32.dll.
set_target_properties(scanlink32 PROPERTIES PREFIX "")

# The VM looks the natives and the load hooks up by their plain names; __stdcall functions would
# otherwise be exported as name@N.
target_link_options(scanlink32 PRIVATE -Wl,--kill-at)

# The C and C++ runtimes go into each binary, so that it needs only DLLs that every Windows has.
foreach(deliverable IN ITEMS scanlink32 Ramtally)
  target_link_options(${deliverable} PRIVATE -static)
endforeach()

install(TARGETS scanlink32 Ramtally
  RUNTIME DESTINATION .
  ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
install_jar(twainex DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/jars/twainex-javadoc.jar DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME scanlink32)
set(SCANLINK_PACKAGE_NAME scanlink32-${PROJECT_VERSION}-windows-x86)
set(CPACK_PACKAGE_FILE_NAME ${SCANLINK_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

enable_testing()
add_subdirectory(tests/windows_binaries)

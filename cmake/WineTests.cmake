# The Windows code on a real Win32, for the width of this build: the test programs of tests/wine,
# built with the posix thread model as a project of their own, against this build's core archive
# and with the library file of the zip, and run under Wine with this build's tests (32-bit Wine in
# a 32-bit prefix for the 32-bit build).
include(ExternalProject)

if(SCANLINK_WINDOWS_ARCH STREQUAL "x86_64")
  set(wine_toolchain x86_64-w64-mingw32-posix.cmake)
  # Ramtally for 64-bit Windows, the build's own: the zip's is the 32-bit one.
  set(wine_ramtally $<TARGET_FILE:Ramtally>)
  set(wine_depends windows_package_files)
  # A 64-bit parent drives the 32-bit bridge of the zip against the 32-bit build's stand-ins,
  # which its Wine tests built.
  set(x86_stand_ins ${SCANLINK_WINDOWS_X86_DIR}/wine_tests/stand-ins)
  foreach(file IN ITEMS ${x86_stand_ins}/Twain_32.dll ${x86_stand_ins}/sane.ds)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "${file} does not exist: build the windows-x86 preset first")
    endif()
  endforeach()
  set(wine_bridge_args
    -DSCANLINK_X86_BRIDGE=${SCANLINK_X86_BRIDGE}
    -DSCANLINK_X86_STAND_INS=${x86_stand_ins})
else()
  set(wine_toolchain i686-w64-mingw32-posix.cmake)
  set(wine_ramtally ${SCANLINK_STAGED_RAMTALLY})
  set(wine_depends staged_deliverables)
endif()

set(SCANLINK_WINE_TESTS_DIR ${CMAKE_BINARY_DIR}/wine_tests)
ExternalProject_Add(wine_tests
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/wine
  BINARY_DIR ${SCANLINK_WINE_TESTS_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${wine_toolchain}
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DSCANLINK_CORE_ARCHIVE=$<TARGET_FILE:scanlink32_core>
    -DSCANLINK_JNI_H_DIR=${SCANLINK_JNI_H_DIR}
    -DSCANLINK_RAMTALLY=${wine_ramtally}
    -DSCANLINK_LIBRARY_DLL=${SCANLINK_PACKAGE_STAGE}/${SCANLINK_LIBRARY_NAME}.dll
    -DSCANLINK_GENERATED_DIR=${CMAKE_BINARY_DIR}/generated
    ${wine_bridge_args}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS scanlink32_core Ramtally ${wine_depends})

# This build's ctest runs that project's tests too.
file(WRITE ${CMAKE_BINARY_DIR}/wine_tests.cmake "subdirs(\"${SCANLINK_WINE_TESTS_DIR}\")\n")
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
  ${CMAKE_BINARY_DIR}/wine_tests.cmake)

# The Windows code on a real Win32: the test programs of tests/wine, built for 64-bit Windows with
# the posix thread model as a project of their own, against this build's core archive and with the
# scanlink64.dll of the zip, and run under Wine with this build's tests.
include(ExternalProject)

set(SCANLINK_WINE_TESTS_DIR ${CMAKE_BINARY_DIR}/wine_tests)
ExternalProject_Add(wine_tests
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/wine
  BINARY_DIR ${SCANLINK_WINE_TESTS_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/x86_64-w64-mingw32-posix.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DSCANLINK_CORE_ARCHIVE=$<TARGET_FILE:scanlink32_core>
    -DSCANLINK_JNI_H_DIR=${SCANLINK_JNI_H_DIR}
    -DSCANLINK_RAMTALLY=$<TARGET_FILE:Ramtally>
    -DSCANLINK_LIBRARY_DLL=${SCANLINK_PACKAGE_STAGE}/scanlink64.dll
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS scanlink32_core Ramtally windows_package_files)

# This build's ctest runs that project's tests too.
file(WRITE ${CMAKE_BINARY_DIR}/wine_tests.cmake "subdirs(\"${SCANLINK_WINE_TESTS_DIR}\")\n")
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
  ${CMAKE_BINARY_DIR}/wine_tests.cmake)

# The JNI host of tests/wine/jni_host for 32-bit Windows, built by the windows-x86 build with the
# posix thread model as a project of its own: it compiles and links against the 32-bit jni.h and
# records, and stays unrun, since this machine cannot run 32-bit code.
include(ExternalProject)
ExternalProject_Add(jni_host_x86
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/wine/jni_host
  BINARY_DIR ${CMAKE_BINARY_DIR}/jni_host
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/i686-w64-mingw32-posix.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DSCANLINK_JNI_H_DIR=${SCANLINK_JNI_H_DIR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)

# The C and C++ sources keep the repository's clang-format style; a test fails on any difference.
find_program(SCANLINK_CLANG_FORMAT clang-format)
if(SCANLINK_CLANG_FORMAT)
  file(GLOB_RECURSE formatted_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/session/*.cpp ${PROJECT_SOURCE_DIR}/session/*.h
    ${PROJECT_SOURCE_DIR}/settings/*.cpp ${PROJECT_SOURCE_DIR}/settings/*.h
    ${PROJECT_SOURCE_DIR}/image/*.cpp ${PROJECT_SOURCE_DIR}/image/*.h
    ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h
    ${PROJECT_SOURCE_DIR}/twain/*.h
    ${PROJECT_SOURCE_DIR}/platform/*.h
    ${PROJECT_SOURCE_DIR}/win32_posix/*.cpp ${PROJECT_SOURCE_DIR}/win32_posix/*.h
    ${PROJECT_SOURCE_DIR}/virtual_scanner/*.cpp ${PROJECT_SOURCE_DIR}/virtual_scanner/*.h
    ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h)
  add_test(NAME clang_format
    COMMAND ${SCANLINK_CLANG_FORMAT} --dry-run -Werror ${formatted_sources})
endif()

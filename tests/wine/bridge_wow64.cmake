# The 32-bit bridge of the zip started by a 64-bit parent, as a 64-bit Java VM starts it for a
# 32-bit driver: the parent runs under wine64 and starts C:\scanlink\scanlink-bridge32.exe with
# inherited pipes; Wine runs it under WoW64 with Debian's 32-bit loader. Every case the host's
# bridge passes that needs no source but the prefix's, once against the 32-bit virtual manager and
# once against Wine's own 32-bit manager. Where the kernel refuses the 32-bit loader, the fixture
# wine.wow64 and every case report themselves as not run.
add_test(NAME wine.wow64 COMMAND ${wine_script} wow64 ${wine_state} ${SCANLINK_WINE32})
set_tests_properties(wine.wow64 PROPERTIES FIXTURES_SETUP wow64 FIXTURES_REQUIRED wine
  TIMEOUT 60 SKIP_REGULAR_EXPRESSION "${wine_not_run}")

# The parent's side of the channel, as the host's bridge tests speak it.
set(bridge_tests ${SCANLINK_ROOT}/tests/bridge)
add_library(bridge_parent STATIC
  ${bridge_tests}/bridge_client.cpp
  ${bridge_tests}/bridge_child_win32.cpp
  ${SCANLINK_ROOT}/bridge/message.cpp)
target_include_directories(bridge_parent PUBLIC ${bridge_tests})
target_link_libraries(bridge_parent PUBLIC scanlink32_core)
scanlink_strict(bridge_parent)

set(bridge_sources
  ${bridge_tests}/bridge_session.cpp
  ${bridge_tests}/bridge_session_test.cpp)
add_executable(wine_bridge_tests ${bridge_sources})
target_include_directories(wine_bridge_tests PRIVATE ${SCANLINK_GENERATED_DIR})
target_compile_definitions(wine_bridge_tests PRIVATE
  "BRIDGE_PROGRAM=\"C:\\\\scanlink\\\\scanlink-bridge32.exe\"" BRIDGE_BITS=32)
target_link_libraries(wine_bridge_tests PRIVATE bridge_parent scenario_support virtual_manager
  gtest_main)
target_link_options(wine_bridge_tests PRIVATE -static)
scanlink_strict(wine_bridge_tests)
set_target_properties(wine_bridge_tests PROPERTIES
  CROSSCOMPILING_EMULATOR "${wine_script};run-wow64;${wine_state}")

# The bridge's 32-bit library takes the virtual manager from the Windows folder, or Wine's
# built-in one in its place; the parent's own session keeps the 64-bit virtual manager.
foreach(manager IN ITEMS virtual_manager wine_manager)
  gtest_add_tests(TARGET wine_bridge_tests SOURCES ${bridge_sources}
    TEST_PREFIX "wine.bridge32.${manager}." TEST_LIST cases)
  if(manager STREQUAL "virtual_manager")
    set(override twain_32=n)
  else()
    set(override twain_32=b)
  endif()
  set_tests_properties(${cases} PROPERTIES
    FIXTURES_REQUIRED "wine;wow64"
    TIMEOUT 120
    SKIP_REGULAR_EXPRESSION "${wine_not_run}"
    ENVIRONMENT "WINEDLLOVERRIDES=${override}")
endforeach()

# A letter colour page at 600 dpi through the 32-bit bridge against in this process: built with
# the tests, run by scripts/benchmark-bridge-wine for numbers.
add_executable(bridge_wow64_benchmark ${CMAKE_CURRENT_SOURCE_DIR}/bridge_wow64_benchmark.cpp)
target_link_libraries(bridge_wow64_benchmark PRIVATE bridge_parent scenario_support
  virtual_manager)
target_link_options(bridge_wow64_benchmark PRIVATE -static)
scanlink_strict(bridge_wow64_benchmark)

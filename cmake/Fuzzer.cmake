# libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer. libFuzzer comes with
# clang, so a fuzzer is compiled by clang++ whichever compiler builds the rest.
find_program(SCANLINK_FUZZ_CXX NAMES clang++ clang++-14)

# scanlink_fuzzer(<target> <fuzzer file> SOURCES <files> DEPENDS <headers> [FLAGS <flags>])
# Builds <fuzzer file> from the sources, as part of ALL; false in SCANLINK_FUZZER_BUILT when there
# is no clang++ to build it with.
function(scanlink_fuzzer target fuzzer)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;FLAGS" ${ARGN})
  if(NOT SCANLINK_FUZZ_CXX)
    message(WARNING "clang++ not found: ${target} is not built")
    set(SCANLINK_FUZZER_BUILT FALSE PARENT_SCOPE)
    return()
  endif()
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${SCANLINK_FUZZ_CXX} -std=c++20 -g -O1 -Wall -Wextra -Werror
      -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
      -I${PROJECT_SOURCE_DIR} ${ARG_FLAGS} ${ARG_SOURCES} -o ${fuzzer}
    DEPENDS ${ARG_SOURCES} ${ARG_DEPENDS}
    COMMENT "Building ${target} with clang++"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${fuzzer})
  set(SCANLINK_FUZZER_BUILT TRUE PARENT_SCOPE)
endfunction()

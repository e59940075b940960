# GoogleTest from its Debian sources (package googletest), built for Windows with the posix thread
# model, for the test programs of tests/wine.
set(gtest_dir /usr/src/googletest/googletest)
add_library(gtest STATIC ${gtest_dir}/src/gtest-all.cc)
target_include_directories(gtest SYSTEM PUBLIC ${gtest_dir}/include PRIVATE ${gtest_dir})
add_library(gtest_main STATIC ${gtest_dir}/src/gtest_main.cc)
target_link_libraries(gtest_main PUBLIC gtest)

# Every target of the project builds warning-free with g++ and clang.
function(scanlink_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

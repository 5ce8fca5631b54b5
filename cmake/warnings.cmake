# Warnings are errors everywhere; the codec is held to the same bar as the library.
function(parlo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

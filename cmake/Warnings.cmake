# Warnings are errors on every compiler the project builds with.
function(tarrowind_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()

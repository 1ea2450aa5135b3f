# Our own targets build warning-free; third-party headers are system includes.
function(quorvel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

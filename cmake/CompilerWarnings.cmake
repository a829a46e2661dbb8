# Warnings apply to the project's own targets only (not to generated or third-party code).
function(vantrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion-null)
endfunction()

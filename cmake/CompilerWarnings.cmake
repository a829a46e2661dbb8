# Warnings apply to the project's own targets only (not to generated or third-party code).
# The conversion warnings make every narrowing between integer widths, signedness and
# floating-point precision explicit: the memory image and the wire hold bytes and 24-bit
# floats, where a silent truncation is a wrong configuration in the transmitter.
option(VANTREL_WERROR "Treat compiler warnings as errors (CI turns this on)" OFF)

function(vantrel_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion-null
                                           -Wconversion -Wsign-conversion -Wdouble-promotion)
  if(VANTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

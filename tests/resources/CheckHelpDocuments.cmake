# Checks the help documents beside the programs: each exists, is a PDF and is not a stub.
#   cmake -DFILES="a.pdf;b.pdf" -P CheckHelpDocuments.cmake
foreach(file IN LISTS FILES)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "missing help document: ${file}")
  endif()
  file(READ "${file}" head LIMIT 5 HEX)
  if(NOT head STREQUAL "255044462d")  # "%PDF-"
    message(FATAL_ERROR "not a PDF file: ${file}")
  endif()
  file(SIZE "${file}" size)
  if(size LESS 20000)
    message(FATAL_ERROR "help document too small (${size} bytes): ${file}")
  endif()
endforeach()

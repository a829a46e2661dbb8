# Checks the help documents beside the programs: each exists, is a PDF and is not a stub, has
# bookmarks for its sections and shows screenshots.
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
  # The outline and the image dictionaries are plain text in the file.
  file(STRINGS "${file}" outline REGEX "/Type /Outlines")
  file(STRINGS "${file}" titles REGEX "/Title <FEFF")
  file(STRINGS "${file}" images REGEX "/Subtype */Image")
  list(LENGTH titles title_count)
  list(LENGTH images image_count)
  if(NOT outline OR title_count LESS 15)
    message(FATAL_ERROR "help document without bookmarks for its sections (${title_count}): ${file}")
  endif()
  if(image_count LESS 8)
    message(FATAL_ERROR "help document with only ${image_count} pictures: ${file}")
  endif()
endforeach()

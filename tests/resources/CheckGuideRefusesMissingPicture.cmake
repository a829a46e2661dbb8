# A guide that names a picture the program does not have is refused, and no PDF (not even a
# partial one) is left where the output should have been.
#   cmake -DTOOL=vantrel-guide-pdf -DWORK=dir -P CheckGuideRefusesMissingPicture.cmake
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/bad.md"
     "# Guide\n\n| Key | Name |\n|---|---|\n| ![Nothing](icon:999) | nothing |\n\n![Gone](../gone.png)\n")
file(REMOVE "${WORK}/bad.pdf")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                        "${TOOL}" "${WORK}/bad.md" "${WORK}/bad.pdf" "Header"
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(result EQUAL 0)
  message(FATAL_ERROR "a guide naming picture 999 was accepted")
endif()
if(NOT errors MATCHES "icon:999" OR NOT errors MATCHES "gone.png")
  message(FATAL_ERROR "the refusal does not name each missing picture: ${errors}")
endif()
if(EXISTS "${WORK}/bad.pdf")
  message(FATAL_ERROR "a PDF was left behind after the refusal")
endif()

# vantrel_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds])
# One executable per test folder; every GoogleTest case becomes its own ctest entry,
# carrying the labels (unit, flow, realtime, gui, postgres) and the time-out. The user's data
# folder is one in the build tree: what the programs record in their history while tested
# stays there.
function(vantrel_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  vantrel_set_warnings(${T_NAME})
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
               ENVIRONMENT "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-data"
    DISCOVERY_TIMEOUT 60)
endfunction()

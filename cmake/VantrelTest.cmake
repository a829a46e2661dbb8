# vantrel_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds]
#                  [LOCALE_FILTER gtest-filter])
# One executable per test folder; every GoogleTest case becomes its own ctest entry,
# carrying the labels (unit, flow, realtime, gui) and the time-out. The cases LOCALE_FILTER
# selects run a second time as "locale.<case>", labelled locale, under LC_ALL=it_IT.UTF-8
# (machine-readable numbers must not follow the C library's decimal comma).
function(vantrel_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT;LOCALE_FILTER" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  vantrel_set_warnings(${T_NAME})
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
    DISCOVERY_TIMEOUT 60)
  if(T_LOCALE_FILTER)
    target_sources(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/TestLocale.cpp)
    gtest_discover_tests(${T_NAME}
      TEST_PREFIX "locale."
      TEST_FILTER "${T_LOCALE_FILTER}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      PROPERTIES LABELS locale TIMEOUT ${T_TIMEOUT} ENVIRONMENT "LC_ALL=it_IT.UTF-8"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

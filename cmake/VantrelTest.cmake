# vantrel_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds]
#                  [LOCALE_FILTER gtest-filter] [QT_APP CORE|PAINT|GUI])
# One executable per test folder; every GoogleTest case becomes its own ctest entry,
# carrying the labels (unit, flow, realtime, gui, postgres) and the time-out. The user's data
# folder is one in the build tree: what the programs record in their history while tested
# stays there. The cases LOCALE_FILTER selects run a second time as "locale.<case>", labelled
# locale, under LC_ALL=it_IT.UTF-8 (machine-readable numbers must not follow the C library's
# decimal comma). Every test program sees the shared helpers of tests/support
# (vantrel_test_support); QT_APP gives it the shared main that makes the one Qt application
# object (CORE: QCoreApplication; PAINT: QGuiApplication; GUI: QApplication; both offscreen) instead of
# gtest's own main.
function(vantrel_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT;LOCALE_FILTER;QT_APP" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT_APP STREQUAL "CORE")
    set(main vantrel_test_main_core)
  elseif(T_QT_APP STREQUAL "PAINT")
    set(main vantrel_test_main_paint)
  elseif(T_QT_APP STREQUAL "GUI")
    set(main vantrel_test_main_gui)
  elseif(T_QT_APP)
    message(FATAL_ERROR "vantrel_add_test(${T_NAME}): QT_APP is CORE, PAINT or GUI, not ${T_QT_APP}")
  else()
    set(main GTest::gtest_main)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} vantrel_test_support GTest::gtest ${main})
  vantrel_set_warnings(${T_NAME})
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
               ENVIRONMENT "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-data"
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

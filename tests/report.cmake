# The flight report page and the GPWS envelope map: their parts, flights
# flown through the host, the real module swept on coarse grids, and the page
# opened in a headless browser. Native only, as the pictures are.
if(NOT WIN32)
  set(report_defs MODULE_DIR="${CMAKE_BINARY_DIR}/bin" SIM_ROOT="${SIM_ROOT}"
                  SCENARIO_DIR="${PROJECT_SOURCE_DIR}/scenarios")

  add_executable(report_tests
    ${CMAKE_CURRENT_SOURCE_DIR}/report_parts_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/report_flight_test.cpp)
  target_link_libraries(report_tests PRIVATE host_core GTest::gtest_main)
  target_compile_definitions(report_tests PRIVATE ${report_defs})
  add_dependencies(report_tests vrn_radalt vrn_gpws cabsound sim_root)
  gtest_discover_tests(report_tests TEST_PREFIX "report.")

  add_executable(envelope_tests
    ${CMAKE_CURRENT_SOURCE_DIR}/envelope_sweep_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/envelope_map_test.cpp)
  target_link_libraries(envelope_tests PRIVATE host_core GTest::gtest_main)
  target_compile_definitions(envelope_tests PRIVATE ${report_defs})
  add_dependencies(envelope_tests vrn_gpws sim_root)
  gtest_discover_tests(envelope_tests TEST_PREFIX "envelope.")

  # The page as a browser shows it: headless Chromium reads it back and takes
  # a screenshot (kept in report_browser/ of the build folder).
  add_executable(report_browser_test ${CMAKE_CURRENT_SOURCE_DIR}/report_browser_test.cpp)
  target_link_libraries(report_browser_test PRIVATE GTest::gtest_main)
  target_compile_definitions(report_browser_test PRIVATE ${report_defs}
    GAUGEHOST="$<TARGET_FILE:gaugehost>" BROWSER_OUT="${CMAKE_BINARY_DIR}/report_browser")
  add_dependencies(report_browser_test gaugehost vrn_radalt vrn_gpws cabsound sim_root)
  add_test(NAME report.browser COMMAND report_browser_test)
  set_tests_properties(report.browser PROPERTIES TIMEOUT 120
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endif()

# The host's lean frame path and its event log switch (native only).
if(NOT WIN32)
  add_executable(host_speed_tests ${CMAKE_CURRENT_LIST_DIR}/event_log_test.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/host_speed_test.cpp)
  target_link_libraries(host_speed_tests PRIVATE host_core GTest::gtest_main)
  target_compile_definitions(host_speed_tests PRIVATE
    MODULE_DIR="${CMAKE_BINARY_DIR}/bin" SIM_ROOT="${SIM_ROOT}"
    SCENARIO_DIR="${PROJECT_SOURCE_DIR}/scenarios")
  add_dependencies(host_speed_tests cabsound vrn_gpws vrn_radalt sim_root)
  gtest_discover_tests(host_speed_tests)

  # A flight whose log goes to the null device still meets its expectations:
  # the lines they read are kept although none is written.
  add_test(NAME host_speed.discarded_log
    COMMAND $<TARGET_FILE:gaugehost> fly ${PROJECT_SOURCE_DIR}/scenarios/approach.flight
            --root ${SIM_ROOT} --log /dev/null)
endif()

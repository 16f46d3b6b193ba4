# Pictures of the panel: DIB decoding, needle angles, gauges drawn through
# the host, panel pictures and the files the host writes. Native only: the
# Windows build has no PNG library.
if(NOT WIN32)
  add_executable(render_tests
    render_dib_test.cpp
    render_files_test.cpp
    render_gauge_test.cpp
    render_needle_test.cpp
    render_panel_test.cpp
    render_radalt_test.cpp)
  target_link_libraries(render_tests PRIVATE host_core GTest::gtest_main)
  target_compile_definitions(render_tests PRIVATE
    MODULE_DIR="${CMAKE_BINARY_DIR}/bin" SIM_ROOT="${SIM_ROOT}")
  add_dependencies(render_tests vrn_radalt vrn_gpws sim_root)
  gtest_discover_tests(render_tests)
endif()

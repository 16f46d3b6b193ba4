# The flight's audio track: reading WAV files, mixing the sound calls of an
# event log, and the track of a flight flown through the host.
if(NOT WIN32)
  add_executable(audio_tests
    ${CMAKE_CURRENT_SOURCE_DIR}/audio_wav_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/audio_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/audio_flight_test.cpp)
  target_link_libraries(audio_tests PRIVATE host_core GTest::gtest_main)
  target_compile_definitions(audio_tests PRIVATE MODULE_DIR="${CMAKE_BINARY_DIR}/bin"
    SIM_ROOT="${SIM_ROOT}" SCENARIO_DIR="${PROJECT_SOURCE_DIR}/scenarios")
  add_dependencies(audio_tests vrn_gpws sim_root)
  gtest_discover_tests(audio_tests TEST_PREFIX "audio.")
endif()

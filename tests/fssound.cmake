# Native checks of the stand-in sound library.
if(NOT WIN32)
  add_executable(fssound_tests ${CMAKE_CURRENT_SOURCE_DIR}/fssound_test.cpp)
  target_link_libraries(fssound_tests PRIVATE FSSound GTest::gtest_main)
  include(GoogleTest)
  gtest_discover_tests(fssound_tests TEST_PREFIX "fssound.")
endif()

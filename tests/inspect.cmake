# gaugeinspect and its tests. The native configuration builds the tool, its
# fuzzer and its unit tests; the Windows configuration, which holds the real
# .gau files, runs the native builds (NATIVE_BUILD_DIR) on them: the
# hand-written golden descriptions, the rules on mutated copies and a
# bounded fuzzing run.
set(inspect_test_dir ${CMAKE_CURRENT_LIST_DIR}/inspect)

if(NOT WIN32)
  add_library(inspect_test_support STATIC
    ${inspect_test_dir}/json_parse.cpp
    ${inspect_test_dir}/golden_match.cpp
    ${inspect_test_dir}/module_builder.cpp
    ${inspect_test_dir}/pe_builder.cpp
    ${inspect_test_dir}/pe_builder_resources.cpp)
  target_link_libraries(inspect_test_support PUBLIC gaugeinspect_lib)

  add_executable(inspect_tests
    ${inspect_test_dir}/checks_test.cpp
    ${inspect_test_dir}/cli_test.cpp
    ${inspect_test_dir}/file_formats_test.cpp
    ${inspect_test_dir}/golden_match_test.cpp
    ${inspect_test_dir}/pe_tables_test.cpp
    ${inspect_test_dir}/records_test.cpp)
  target_link_libraries(inspect_tests PRIVATE inspect_test_support GTest::gtest_main)
  gtest_discover_tests(inspect_tests)

  # Run by the Windows configuration's tests, which have the real modules.
  add_executable(inspect_golden ${inspect_test_dir}/golden_main.cpp)
  target_link_libraries(inspect_golden PRIVATE inspect_test_support)
  add_executable(inspect_module_tests ${inspect_test_dir}/module_mutation_test.cpp)
  target_link_libraries(inspect_module_tests PRIVATE inspect_test_support GTest::gtest_main)
  return()
endif()

if(NOT NATIVE_BUILD_DIR)
  message(STATUS "NATIVE_BUILD_DIR not set: the gaugeinspect checks of the modules are left out")
  return()
endif()
set(native_bin ${NATIVE_BUILD_DIR}/bin)
set(inspect_modules cabsound vrn_gpws vrn_radalt)
foreach(module ${inspect_modules})
  add_test(NAME inspect.check.${module}
    COMMAND ${native_bin}/gaugeinspect --check $<TARGET_FILE:${module}>)
  add_test(NAME inspect.golden.${module}
    COMMAND sh ${inspect_test_dir}/golden_check.sh ${native_bin}/gaugeinspect
            ${native_bin}/inspect_golden $<TARGET_FILE:${module}>
            ${PROJECT_SOURCE_DIR}/tests/golden/${module}.json ${CMAKE_BINARY_DIR}/inspect)
endforeach()

add_test(NAME inspect.mutations COMMAND ${native_bin}/inspect_module_tests)
set_tests_properties(inspect.mutations PROPERTIES
  ENVIRONMENT INSPECT_GAU_DIR=${CMAKE_BINARY_DIR}/bin)

set(INSPECT_FUZZ_SECONDS 40 CACHE STRING "How long make test fuzzes gaugeinspect")
if(EXISTS ${native_bin}/gaugeinspect_fuzz)
  set(seeds)
  foreach(module ${inspect_modules})
    list(APPEND seeds $<TARGET_FILE:${module}>)
  endforeach()
  add_test(NAME inspect.fuzz
    COMMAND sh ${inspect_test_dir}/run_fuzzer.sh ${native_bin}/gaugeinspect_fuzz
            ${INSPECT_FUZZ_SECONDS} ${CMAKE_BINARY_DIR}/inspect_fuzz ${seeds})
  set_tests_properties(inspect.fuzz PROPERTIES TIMEOUT 300)
else()
  message(STATUS "${native_bin}/gaugeinspect_fuzz not built: no fuzzing run")
endif()

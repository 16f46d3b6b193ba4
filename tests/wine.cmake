# Checks that run under Wine against the real 32-bit cabsound.gau: its export
# and import tables and resources read from the file, and its records read
# byte for byte from the loaded module. Windows build only.
if(NOT WIN32)
  return()
endif()

set(wine_test_dir ${CMAKE_CURRENT_LIST_DIR}/wine)
add_executable(module_image_tests
  ${wine_test_dir}/cabsound_pe_test.cpp
  ${wine_test_dir}/cabsound_records_test.cpp
  ${wine_test_dir}/cabsound_resources_test.cpp
  ${wine_test_dir}/loaded_gau.cpp
  ${PROJECT_SOURCE_DIR}/tools/gaugeinspect/pe_image.cpp
  ${wine_test_dir}/pe_image_test.cpp)
target_include_directories(module_image_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(module_image_tests PRIVATE gtest_main ${GAUGES_STATIC_RUNTIME})
# Absolute build paths; the tests turn them into DOS names under Wine, so
# they work from any current directory.
target_compile_definitions(module_image_tests PRIVATE
  NOMINMAX WIN32_LEAN_AND_MEAN
  CABSOUND_GAU="$<TARGET_FILE:cabsound>"
  FSSOUND_DLL="$<TARGET_FILE:FSSound>")
# Beside FSSound.dll, which Windows looks for in the program's directory
# when the module is loaded.
set_target_properties(module_image_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(module_image_tests cabsound FSSound)

find_program(WINE wine)
if(NOT WINE)
  message(STATUS "wine not found: module_image_tests is built but not run by ctest")
  return()
endif()
add_test(NAME wine.module_image
  COMMAND ${CMAKE_COMMAND} -E env
    WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    ${WINE} $<TARGET_FILE:module_image_tests>)
# The first run creates the Wine prefix.
set_tests_properties(wine.module_image PROPERTIES TIMEOUT 300)

# assetgen's own tests. They run natively only: in the cross build the tool
# is a build-machine program, not a target these tests could link.
if(WIN32 OR NOT TARGET assetgen_lib)
  return()
endif()

# Built through gauge_asset() itself, so the tests also cover the way the
# rest of the tree generates its files.
set(assetgen_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/assetgen_fixtures)
gauge_asset(OUTPUT ${assetgen_fixture_dir}/swatch.bmp KIND bmp ARGS 3 2 10 20 30)
gauge_asset(OUTPUT ${assetgen_fixture_dir}/tone.wav KIND wav ARGS 2 22050 16 80764 1000)
# The GPWS button pictures, checked for what the panel needs of them. The
# description after --desc is a dependency of its own accord; DEPENDS is
# spelled out once to cover that keyword as well.
set(gpws_bitmaps_dir ${CMAKE_SOURCE_DIR}/gpws/bitmaps)
gauge_asset(OUTPUT ${assetgen_fixture_dir}/test_4096.bmp KIND bmp
            ARGS 46 46 --desc ${gpws_bitmaps_dir}/test_4096.txt
            DEPENDS ${gpws_bitmaps_dir}/test_4096.txt)
gauge_asset(OUTPUT ${assetgen_fixture_dir}/test_4097.bmp KIND bmp
            ARGS 34 34 --desc ${gpws_bitmaps_dir}/test_4097.txt)
gauge_asset(OUTPUT ${assetgen_fixture_dir}/test_4098.bmp KIND bmp
            ARGS 35 36 --desc ${gpws_bitmaps_dir}/test_4098.txt)
# The GPWS lamps: name width height.
set(gpws_lamp_pictures)
foreach(row "inop_4099 46 46" "inop_4100 34 35" "below_4101 46 46" "below_4102 34 35"
            "fi_4103 46 46" "fi_4104 37 38" "blank_4105 46 46")
  separate_arguments(row)
  list(GET row 0 picture)
  list(GET row 1 w)
  list(GET row 2 h)
  gauge_asset(OUTPUT ${assetgen_fixture_dir}/${picture}.bmp KIND bmp
              ARGS ${w} ${h} --desc ${gpws_bitmaps_dir}/${picture}.txt)
  list(APPEND gpws_lamp_pictures ${assetgen_fixture_dir}/${picture}.bmp)
endforeach()

# The radar altimeter pictures, made the way the gauge's own build makes
# them: id width height depth.
set(radalt_bitmaps_dir ${CMAKE_SOURCE_DIR}/radalt/bitmaps)
set(radalt_pictures)
foreach(row "20507 302 302 24" "20508 125 49 24" "20509 3 3 8" "20510 128 17 8"
            "20511 302 302 24" "20512 147 201 24" "20513 43 23 8" "20514 50 54 8"
            "20515 50 54 8" "20516 20 20 24")
  separate_arguments(row)
  list(GET row 0 id)
  list(GET row 1 w)
  list(GET row 2 h)
  list(GET row 3 depth)
  set(depth_args)
  if(depth EQUAL 8)
    set(depth_args --bpp 8)
  endif()
  gauge_asset(OUTPUT ${assetgen_fixture_dir}/radalt_${id}.bmp KIND bmp
              ARGS ${w} ${h} --desc ${radalt_bitmaps_dir}/radalt_${id}.txt ${depth_args})
  list(APPEND radalt_pictures ${assetgen_fixture_dir}/radalt_${id}.bmp)
endforeach()

add_executable(assetgen_tests
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_bmp_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_bmp8_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_cli_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_desc_error_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_desc_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_font_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_lamps_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_pictures_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_radalt_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_shapes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_tool_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assetgen_wav_test.cpp
  ${assetgen_fixture_dir}/swatch.bmp
  ${assetgen_fixture_dir}/tone.wav
  ${assetgen_fixture_dir}/test_4096.bmp
  ${assetgen_fixture_dir}/test_4097.bmp
  ${assetgen_fixture_dir}/test_4098.bmp
  ${gpws_lamp_pictures}
  ${radalt_pictures})
target_link_libraries(assetgen_tests PRIVATE assetgen_lib GTest::gtest_main)
target_compile_definitions(assetgen_tests PRIVATE
  ASSETGEN_PATH="$<TARGET_FILE:assetgen>"
  ASSETGEN_FIXTURE_DIR="${assetgen_fixture_dir}"
  GPWS_BITMAPS_DIR="${gpws_bitmaps_dir}"
  RADALT_BITMAPS_DIR="${radalt_bitmaps_dir}")
add_dependencies(assetgen_tests assetgen)

include(GoogleTest)
gtest_discover_tests(assetgen_tests TEST_PREFIX "assetgen." DISCOVERY_MODE PRE_TEST)

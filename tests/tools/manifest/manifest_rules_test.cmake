# The bitmap manifests' rules (cmake/BitmapManifest.cmake), each broken once:
# the check must stop naming the file, the line and the fault. A good
# manifest must give exactly the expected header and resource lines.
#   cmake -DSOURCE_ROOT=... -DWORK_DIR=... -P manifest_rules_test.cmake
cmake_minimum_required(VERSION 3.20)
set(checker ${SOURCE_ROOT}/cmake/check_bitmap_manifest.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/bitmaps)
file(WRITE ${WORK_DIR}/bitmaps/dot.txt "fill 1 2 3\n")
set(failures 0)

# run_check(<manifest text> <outcome variable> [extra -D arguments...])
function(run_check text outcome)
  file(WRITE ${WORK_DIR}/bitmaps.manifest "${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DMANIFEST=${WORK_DIR}/bitmaps.manifest ${ARGN}
                          -P ${checker}
                  RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_VARIABLE out)
  # CMake wraps long messages: blanks and line ends count as one space.
  string(REGEX REPLACE "[ \t\r\n]+" " " text "${err}${out}")
  set(${outcome}_STATUS ${status} PARENT_SCOPE)
  set(${outcome}_TEXT "${text}" PARENT_SCOPE)
endfunction()

# expect_fault(<case> <manifest text> <message regex>)
function(expect_fault name text pattern)
  run_check("${text}" got)
  if(got_STATUS EQUAL 0)
    message(SEND_ERROR "${name}: the manifest was accepted")
  elseif(NOT got_TEXT MATCHES "${pattern}")
    message(SEND_ERROR "${name}: expected a message matching '${pattern}', got:\n${got_TEXT}")
  else()
    message(STATUS "${name}: rejected as expected")
  endif()
endfunction()

set(at "bitmaps\\.manifest:")
expect_fault("duplicate id" "# two rows\n1 First 2 2 24 dot.txt\n\n1 Second 2 2 24 -\n"
             "${at}4: duplicate id 1 \\(also First\\)")
expect_fault("duplicate name" "1 Same 2 2 24 -\n2 Same 2 2 24 -\n" "${at}2: duplicate name Same")
expect_fault("missing description" "1 Dot 2 2 24 dot.txt\n2 Gone 2 2 24 gone.txt\n"
             "${at}2: description .*/bitmaps/gone\\.txt does not exist")
expect_fault("description is a folder" "1 Dot 2 2 24 .\n" "${at}1: description .* does not exist")
expect_fault("too few fields" "1 Short 2 2 24\n" "${at}1: expected 'id name width height depth")
expect_fault("too many fields" "1 Long 2 2 24 - extra\n" "${at}1: .*found 7 fields")
expect_fault("id zero" "0 Zero 2 2 24 -\n" "${at}1: id '0' is not a number from 1 to 65535")
expect_fault("id too big" "65536 Big 2 2 24 -\n" "${at}1: id '65536' is not a number")
expect_fault("id not a number" "x1 Letter 2 2 24 -\n" "${at}1: id 'x1'")
expect_fault("name not CamelCase" "1 lower 2 2 24 -\n" "${at}1: name 'lower' is not CamelCase")
expect_fault("width zero" "1 Thin 0 2 24 -\n" "${at}1: width '0' is not a whole number of pixels")
expect_fault("height not a number" "1 Tall 2 1.5 24 -\n" "${at}1: height '1.5'")
expect_fault("depth" "1 Deep 2 2 16 -\n" "${at}1: depth '16' is neither 8 nor 24")
expect_fault("no rows" "# only a comment\n\n" "bitmaps\\.manifest: lists no bitmap")
expect_fault("semicolon outside a comment" "1 Semi;colon 2 2 24 -\n" "found ';'")
run_check("" unused -DMANIFEST=${WORK_DIR}/absent.manifest)
if(unused_STATUS EQUAL 0 OR NOT unused_TEXT MATCHES "absent\\.manifest: no such bitmap manifest")
  message(SEND_ERROR "missing manifest: not reported:\n${unused_TEXT}")
endif()

# A good manifest, with what would trip a careless reader in its comments.
run_check("# id name w h depth [description; or -]\r\n7 Dot 3 2 8 dot.txt # [x\r\n\t9\tPlain 1 1 24 -\r\n"
          good -DHEADER=${WORK_DIR}/out/good_bitmaps.h -DNAMESPACE=good -DMODULE=good_module
          -DRC=${WORK_DIR}/out/good.rc -DFOLDER=/pictures)
if(NOT good_STATUS EQUAL 0)
  message(SEND_ERROR "good manifest rejected:\n${good_TEXT}")
else()
  file(READ ${WORK_DIR}/out/good_bitmaps.h header)
  set(expected_header
"// Written by the build from bitmaps.manifest: change that file, not this one.
#pragma once
#include <cstdint>

#include \"frame/bitmap_entry.h\"

namespace good {

inline constexpr uint32_t kBitmapDot = 7;
inline constexpr uint32_t kBitmapPlain = 9;

inline constexpr frame::BitmapEntry kBitmaps[] = {
    {kBitmapDot, \"Dot\", 3, 2, 8, \"dot.txt\"},
    {kBitmapPlain, \"Plain\", 1, 1, 24, \"\"},
};

inline constexpr char kBitmapModule[] = \"good_module\";
inline constexpr char kBitmapDescriptionDir[] = \"bitmaps\";

}  // namespace good
")
  if(NOT header STREQUAL expected_header)
    message(SEND_ERROR "header differs; got:\n${header}\nexpected:\n${expected_header}")
  endif()
  file(READ ${WORK_DIR}/out/good.rc rc)
  set(expected_rc "// Written by the build from bitmaps.manifest: change that file, not this one.
7 BITMAP \"/pictures/7.bmp\"
9 BITMAP \"/pictures/9.bmp\"
")
  if(NOT rc STREQUAL expected_rc)
    message(SEND_ERROR "resource lines differ; got:\n${rc}\nexpected:\n${expected_rc}")
  endif()
endif()

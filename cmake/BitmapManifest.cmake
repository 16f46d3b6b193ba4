# A module's bitmaps are listed once, in its bitmaps.manifest; the build
# takes everything else from there: the generated pictures, the resource
# script's BITMAP lines and the header with the ids the records name.
#
# The manifest is text, one bitmap a line, "#" starting a comment:
#
#   # id   name        width height depth description
#   4096   TestButton  46    46     24    test_button.txt
#   4352   Background  29    29     24    -
#
#   id           the BITMAP resource id, 1 to 65535, once per manifest
#   name         the symbolic name, CamelCase, once per manifest: the header
#                calls the id kBitmap<name>
#   width height in pixels (assetgen holds the largest it draws)
#   depth        bits per pixel: 24, or 8 for a palettised bitmap
#   description  the file in bitmaps/ beside the manifest that assetgen draws
#                the picture from, or "-" for a plain black picture
#
# Nothing here defines targets, so the checks also run as a script
# (cmake/check_bitmap_manifest.cmake).

# read_bitmap_manifest(<manifest> <prefix>)
#
# Reads and checks a manifest; stops with "<manifest>:<line>: <what>" on the
# first fault. Sets <prefix>_IDS (in manifest order), <prefix>_DESC_DIR (the
# descriptions' folder, relative to the manifest's) and, for each id,
# <prefix>_<id>_NAME, _WIDTH, _HEIGHT, _DEPTH and _DESC (the description's
# absolute path, empty for plain black).
function(read_bitmap_manifest manifest prefix)
  if(NOT EXISTS ${manifest})
    message(FATAL_ERROR "${manifest}: no such bitmap manifest")
  endif()
  cmake_path(GET manifest PARENT_PATH manifest_dir)
  set(desc_dir bitmaps)
  file(READ ${manifest} text)
  # Comments go before the text is split into lines: a bracket or semicolon
  # in one would upset CMake's lists. What is left may hold neither.
  string(REGEX REPLACE "#[^\n]*" "" text "${text}")
  string(REPLACE "\r" "" text "${text}")
  if(text MATCHES "[^A-Za-z0-9_. \t\n-]")
    message(FATAL_ERROR "${manifest}: only letters, digits, '_', '.', '-' and blanks outside "
                        "comments, found '${CMAKE_MATCH_0}'")
  endif()
  string(REPLACE "\n" ";" lines "${text}")
  set(ids)
  set(names)
  set(line_number 0)
  foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    set(where "${manifest}:${line_number}")
    string(REGEX MATCHALL "[^ \t]+" fields "${line}")
    list(LENGTH fields count)
    if(count EQUAL 0)
      continue()
    endif()
    if(NOT count EQUAL 6)
      message(FATAL_ERROR "${where}: expected 'id name width height depth description', "
                          "found ${count} fields")
    endif()
    list(GET fields 0 id)
    list(GET fields 1 name)
    list(GET fields 2 width)
    list(GET fields 3 height)
    list(GET fields 4 depth)
    list(GET fields 5 desc)
    if(NOT id MATCHES "^[1-9][0-9]*$" OR id GREATER 65535)
      message(FATAL_ERROR "${where}: id '${id}' is not a number from 1 to 65535")
    endif()
    if(id IN_LIST ids)
      message(FATAL_ERROR "${where}: duplicate id ${id} (also ${${prefix}_${id}_NAME})")
    endif()
    if(NOT name MATCHES "^[A-Z][A-Za-z0-9]*$")
      message(FATAL_ERROR "${where}: name '${name}' is not CamelCase letters and digits")
    endif()
    if(name IN_LIST names)
      message(FATAL_ERROR "${where}: duplicate name ${name}")
    endif()
    foreach(side width height)
      if(NOT ${side} MATCHES "^[1-9][0-9]*$")
        message(FATAL_ERROR "${where}: ${side} '${${side}}' is not a whole number of pixels")
      endif()
    endforeach()
    if(NOT depth MATCHES "^(8|24)$")
      message(FATAL_ERROR "${where}: depth '${depth}' is neither 8 nor 24")
    endif()
    if(desc STREQUAL "-")
      set(desc_path "")
    else()
      set(desc_path ${manifest_dir}/${desc_dir}/${desc})
      if(NOT EXISTS ${desc_path} OR IS_DIRECTORY ${desc_path})
        message(FATAL_ERROR "${where}: description ${desc_path} does not exist")
      endif()
    endif()
    list(APPEND ids ${id})
    list(APPEND names ${name})
    foreach(field NAME WIDTH HEIGHT DEPTH)
      string(TOLOWER ${field} var)
      set(${prefix}_${id}_${field} ${${var}})
      set(${prefix}_${id}_${field} ${${var}} PARENT_SCOPE)
    endforeach()
    set(${prefix}_${id}_DESC "${desc_path}" PARENT_SCOPE)
  endforeach()
  if(NOT ids)
    message(FATAL_ERROR "${manifest}: lists no bitmap")
  endif()
  set(${prefix}_IDS ${ids} PARENT_SCOPE)
  set(${prefix}_DESC_DIR ${desc_dir} PARENT_SCOPE)
endfunction()

# write_bitmap_header(<prefix> <namespace> <module> <source> <output>)
#
# Writes the C++ header of a manifest read under <prefix>: kBitmap<name> for
# each id, kBitmaps, the whole table, and for the tests kBitmapModule, the
# module's name, and kBitmapDescriptionDir, the descriptions' folder relative
# to the source tree. <source> is the manifest's path relative to the source
# tree. The file is only touched when its text changes.
function(write_bitmap_header prefix namespace module source output)
  set(ids "")
  set(rows "")
  foreach(id IN LISTS ${prefix}_IDS)
    set(name ${${prefix}_${id}_NAME})
    set(desc "")
    if(${prefix}_${id}_DESC)
      cmake_path(GET ${prefix}_${id}_DESC FILENAME desc)
    endif()
    string(APPEND ids "inline constexpr uint32_t kBitmap${name} = ${id};\n")
    string(APPEND rows "    {kBitmap${name}, \"${name}\", ${${prefix}_${id}_WIDTH}, "
                       "${${prefix}_${id}_HEIGHT}, ${${prefix}_${id}_DEPTH}, \"${desc}\"},\n")
  endforeach()
  cmake_path(GET source PARENT_PATH folder)
  if(folder)
    string(APPEND folder /)
  endif()
  file(CONFIGURE OUTPUT ${output} @ONLY NEWLINE_STYLE UNIX CONTENT
"// Written by the build from ${source}: change that file, not this one.
#pragma once
#include <cstdint>

#include \"frame/bitmap_entry.h\"

namespace ${namespace} {

${ids}
inline constexpr frame::BitmapEntry kBitmaps[] = {
${rows}};

inline constexpr char kBitmapModule[] = \"${module}\";
inline constexpr char kBitmapDescriptionDir[] = \"${folder}${${prefix}_DESC_DIR}\";

}  // namespace ${namespace}
")
endfunction()

# write_bitmap_rc(<prefix> <source> <folder> <output>)
#
# Writes the resource script lines of a manifest read under <prefix>, one
# "ID BITMAP" line per bitmap, the picture taken from <folder>/ID.bmp.
function(write_bitmap_rc prefix source folder output)
  set(lines "")
  foreach(id IN LISTS ${prefix}_IDS)
    string(APPEND lines "${id} BITMAP \"${folder}/${id}.bmp\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${output} @ONLY NEWLINE_STYLE UNIX CONTENT
"// Written by the build from ${source}: change that file, not this one.
${lines}")
endfunction()

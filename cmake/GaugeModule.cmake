include(${CMAKE_CURRENT_LIST_DIR}/BitmapManifest.cmake)

# add_gauge_module(NAME SOURCES ... [BITMAPS bitmaps.manifest] [RC file.rc]
#                  [ASSETS generated files ...] [PROBE file.cpp])
#
# Builds one gauge module from its sources: natively a shared library
# (NAME.so) that exports only ImportTable and Linkage, and in the Windows
# build NAME.gau, which exports exactly those two data symbols, imports the
# sound library by ordinal only and carries its resources. PROBE names the
# source that exports the module's state record to the fuzzers; only the
# fuzzing build compiles it.
#
# BITMAPS names the module's manifest (cmake/BitmapManifest.cmake). From it
# come the pictures, generated into NAME.bitmaps/ID.bmp, and, in the
# directory's binary dir, DIR/DIR_bitmaps.h (DIR the source folder's name,
# also the namespace) and NAME_bitmaps.rc, the BITMAP lines of the resource
# script. Without an RC file of its own the module's script is those lines;
# an RC file that has more to say includes them. The target NAME_bitmaps
# gives a test the header; the module's GAUGE_BITMAP_MANIFEST property names
# the manifest.
function(add_gauge_module name)
  cmake_parse_arguments(M "" "RC;BITMAPS;PROBE" "SOURCES;ASSETS" ${ARGN})
  if(M_BITMAPS)
    add_gauge_bitmaps(${name} ${M_BITMAPS})
    list(APPEND M_ASSETS ${${name}_BITMAP_FILES})
    if(WIN32 AND NOT M_RC)
      set(M_RC ${${name}_BITMAP_RC})
    endif()
  endif()
  if(WIN32)
    add_library(${name} MODULE ${M_SOURCES} ${M_RC} ${PROJECT_SOURCE_DIR}/frame/module_exports.def)
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".gau")
    target_link_libraries(${name} PRIVATE frame fssound_imports -static-libgcc -static-libstdc++ -s)
    if(M_RC)
      # The script's pictures, and the generated lines a script of its own
      # includes.
      set_source_files_properties(${M_RC} PROPERTIES
        OBJECT_DEPENDS "${M_ASSETS};${${name}_BITMAP_RC}")
      target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
    endif()
  else()
    set(exports ${PROJECT_SOURCE_DIR}/frame/module_exports.map)
    set(no_undefined -Wl,--no-undefined)
    if(GAUGES_FUZZ)
      # A fuzzing build also exports the module's state record (PROBE) for the
      # fuzzer's checks, and leaves the sanitizer runtime to the fuzzer.
      list(APPEND M_SOURCES ${M_PROBE})
      set(exports ${PROJECT_SOURCE_DIR}/frame/module_exports_probe.map)
      set(no_undefined)
    endif()
    add_library(${name} SHARED ${M_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".so" BUILD_RPATH "$ORIGIN")
    target_link_libraries(${name} PRIVATE frame FSSound
      -Wl,--version-script=${exports} ${no_undefined} -Wl,-Bsymbolic)
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${exports})
    if(M_ASSETS)
      add_custom_target(${name}_assets DEPENDS ${M_ASSETS})
      add_dependencies(${name} ${name}_assets)
    endif()
  endif()
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti -fvisibility=hidden)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Always file by file, as shipped, also in a unity build (make demo).
  set_target_properties(${name} PROPERTIES UNITY_BUILD OFF)
  if(M_BITMAPS)
    target_link_libraries(${name} PRIVATE ${name}_bitmaps)
    # For the checks of the built module against its manifest.
    set_target_properties(${name} PROPERTIES GAUGE_BITMAP_MANIFEST ${${name}_BITMAP_MANIFEST})
  endif()
endfunction()

# add_gauge_bitmaps(NAME MANIFEST): the BITMAPS part of add_gauge_module.
# Sets NAME_BITMAP_FILES (the pictures), NAME_BITMAP_RC and
# NAME_BITMAP_MANIFEST (its absolute path) in the caller.
function(add_gauge_bitmaps name manifest)
  cmake_path(ABSOLUTE_PATH manifest BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
  read_bitmap_manifest(${manifest} bitmap)
  cmake_path(RELATIVE_PATH manifest BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE source)
  # The native host reads a module's pictures from bin/NAME.bitmaps/ID.bmp
  # beside the module; the Windows module carries them as resources.
  if(WIN32)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/${name}.bitmaps)
  else()
    set(folder ${CMAKE_BINARY_DIR}/bin/${name}.bitmaps)
  endif()
  set(files)
  foreach(id IN LISTS bitmap_IDS)
    set(out ${folder}/${id}.bmp)
    set(args ${bitmap_${id}_WIDTH} ${bitmap_${id}_HEIGHT})
    if(bitmap_${id}_DESC)
      list(APPEND args --desc ${bitmap_${id}_DESC})
    endif()
    if(bitmap_${id}_DEPTH EQUAL 8)
      list(APPEND args --bpp 8)
    endif()
    # A changed size or depth changes the command, which make alone would
    # not notice: the manifest is a dependency of every picture.
    gauge_asset(OUTPUT ${out} KIND bmp ARGS ${args} DEPENDS ${manifest})
    list(APPEND files ${out})
  endforeach()
  # A picture the manifest no longer lists would still be found there.
  file(GLOB pictures ${folder}/*.bmp)
  foreach(picture IN LISTS pictures)
    if(NOT picture IN_LIST files)
      file(REMOVE ${picture})
    endif()
  endforeach()
  cmake_path(GET CMAKE_CURRENT_SOURCE_DIR FILENAME namespace)
  set(include_dir ${CMAKE_CURRENT_BINARY_DIR}/include)
  write_bitmap_header(bitmap ${namespace} ${name} ${source}
                      ${include_dir}/${namespace}/${namespace}_bitmaps.h)
  set(rc)
  if(WIN32)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.rc)
    write_bitmap_rc(bitmap ${source} ${folder} ${rc})
  endif()
  add_library(${name}_bitmaps INTERFACE)
  target_include_directories(${name}_bitmaps INTERFACE ${include_dir} ${PROJECT_SOURCE_DIR})
  set(${name}_BITMAP_FILES ${files} PARENT_SCOPE)
  set(${name}_BITMAP_RC ${rc} PARENT_SCOPE)
  set(${name}_BITMAP_MANIFEST ${manifest} PARENT_SCOPE)
endfunction()

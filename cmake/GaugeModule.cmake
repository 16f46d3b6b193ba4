# add_gauge_module(NAME SOURCES ... [RC file.rc] [ASSETS generated files ...])
#
# Builds one gauge module from its sources: natively a shared library
# (NAME.so) that exports only ImportTable and Linkage, and in the Windows
# build NAME.gau, which exports exactly those two data symbols, imports the
# sound library by ordinal only and carries its resources.
function(add_gauge_module name)
  cmake_parse_arguments(M "" "RC" "SOURCES;ASSETS" ${ARGN})
  if(WIN32)
    add_library(${name} MODULE ${M_SOURCES} ${M_RC} ${PROJECT_SOURCE_DIR}/frame/module_exports.def)
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".gau")
    target_link_libraries(${name} PRIVATE frame fssound_imports -static-libgcc -static-libstdc++ -s)
    if(M_RC)
      set_source_files_properties(${M_RC} PROPERTIES OBJECT_DEPENDS "${M_ASSETS}")
      target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
    endif()
  else()
    set(exports ${PROJECT_SOURCE_DIR}/frame/module_exports.map)
    set(no_undefined -Wl,--no-undefined)
    if(GAUGES_FUZZ)
      # A fuzzing build also exports the module's state record (state_probe.cpp)
      # for the fuzzer's checks, and leaves the sanitizer runtime to the fuzzer.
      if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/state_probe.cpp)
        list(APPEND M_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/state_probe.cpp)
      endif()
      set(exports ${PROJECT_SOURCE_DIR}/frame/module_exports_probe.map)
      set(no_undefined)
    endif()
    add_library(${name} SHARED ${M_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".so" BUILD_RPATH "$ORIGIN")
    target_link_libraries(${name} PRIVATE frame FSSound
      -Wl,--version-script=${exports} ${no_undefined} -Wl,-Bsymbolic)
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${exports})
    # The host finds a native module's pictures in bin/NAME.bitmaps/ID.bmp,
    # the id taken from the end of each picture's name (radalt_20507.bmp).
    set(bitmap_copies)
    foreach(asset IN LISTS M_ASSETS)
      if(asset MATCHES "_([0-9]+)\\.bmp$")
        set(copy ${CMAKE_BINARY_DIR}/bin/${name}.bitmaps/${CMAKE_MATCH_1}.bmp)
        add_custom_command(OUTPUT ${copy}
          COMMAND ${CMAKE_COMMAND} -E copy ${asset} ${copy}
          DEPENDS ${asset}
          VERBATIM)
        list(APPEND bitmap_copies ${copy})
      endif()
    endforeach()
    if(M_ASSETS)
      add_custom_target(${name}_assets DEPENDS ${M_ASSETS} ${bitmap_copies})
      add_dependencies(${name} ${name}_assets)
    endif()
  endif()
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti -fvisibility=hidden)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Always file by file, as shipped, also in a unity build (make demo).
  set_target_properties(${name} PROPERTIES UNITY_BUILD OFF)
endfunction()

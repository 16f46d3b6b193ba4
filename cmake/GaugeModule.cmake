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
    add_library(${name} SHARED ${M_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".so" BUILD_RPATH "$ORIGIN")
    target_link_libraries(${name} PRIVATE frame FSSound
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/frame/module_exports.map -Wl,--no-undefined -Wl,-Bsymbolic)
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${PROJECT_SOURCE_DIR}/frame/module_exports.map)
    if(M_ASSETS)
      add_custom_target(${name}_assets DEPENDS ${M_ASSETS})
      add_dependencies(${name} ${name}_assets)
    endif()
  endif()
  target_compile_options(${name} PRIVATE -fno-exceptions -fno-rtti -fvisibility=hidden)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# clang_links_libfuzzer(CLANGXX RESULT)
#
# Sets RESULT to TRUE when the clang++ at CLANGXX links a libFuzzer program
# with AddressSanitizer and UndefinedBehaviorSanitizer, FALSE otherwise:
# clang alone is not enough, libFuzzer and the sanitizer runtimes come with
# Debian's libclang-rt-dev. A success is kept in the cache; a failure is
# tried again at the next configure, in case the package came in between.
function(clang_links_libfuzzer clangxx result)
  if(GAUGES_LIBFUZZER_LINKS STREQUAL clangxx)
    set(${result} TRUE PARENT_SCOPE)
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/CMakeFiles/libfuzzer_probe)
  file(WRITE ${dir}/probe.cpp
    "#include <cstddef>\n#include <cstdint>\n"
    "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
  execute_process(
    COMMAND ${clangxx} -fsanitize=fuzzer,address,undefined ${dir}/probe.cpp -o ${dir}/probe
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    set(GAUGES_LIBFUZZER_LINKS ${clangxx} CACHE INTERNAL "the clang++ that links libFuzzer")
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

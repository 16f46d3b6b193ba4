# cmake -DSOURCE_DIR=... -P libfuzzer_probe_test.cmake
# clang_links_libfuzzer() answers from what the compiler does: a compiler
# that fails (as clang++ without libclang-rt-dev does) turns the fuzzers
# off, one that links turns them on; and where the fuzz group of
# tools/install-deps.sh is installed, the real clang++ links libFuzzer.
include(${SOURCE_DIR}/cmake/LibFuzzer.cmake)
set(CMAKE_BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/libfuzzer_probe_test)
execute_process(COMMAND sh ${SOURCE_DIR}/tools/install-deps.sh --has fuzz RESULT_VARIABLE missing)
set(CLANGXX)
if(missing EQUAL 0)
  set(CLANGXX clang++)
endif()

clang_links_libfuzzer(false links)
if(links)
  message(FATAL_ERROR "a compiler that fails was taken to link libFuzzer")
endif()
clang_links_libfuzzer(true links)
if(NOT links)
  message(FATAL_ERROR "a compiler that succeeds was taken not to link libFuzzer")
endif()
if(CLANGXX)
  clang_links_libfuzzer(${CLANGXX} links)
  if(NOT links)
    message(FATAL_ERROR "${CLANGXX} cannot link libFuzzer")
  endif()
endif()
message(STATUS "clang_links_libfuzzer: all cases passed")

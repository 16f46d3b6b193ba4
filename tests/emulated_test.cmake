# The emulated.* tests of the Windows configuration: the native build's
# programs fly this build's real 32-bit .gau files in the native host's
# emulated loader. They need no Wine and no 32-bit kernel, so they run on
# every machine; they need the native build (-DNATIVE_BUILD_DIR).

# add_emulated_test(NAME <name> PROGRAM <native program> [ARGS <arguments>...])
#
# Runs the native test program PROGRAM (in NATIVE_BUILD_DIR/bin) with the
# test fixtures pointed at this build's .gau files (GAUGE_MODULE_DIR) and
# the emulated loader (GAUGE_LOADER).
function(add_emulated_test)
  cmake_parse_arguments(PARSE_ARGV 0 E "" "NAME;PROGRAM;TIMEOUT" "ARGS")
  if(NOT NATIVE_BUILD_DIR)
    add_failing_test(NAME ${E_NAME}
      WHY "needs the native build's test programs: configure with -DNATIVE_BUILD_DIR=<native build>")
    return()
  endif()
  add_test(NAME ${E_NAME}
    COMMAND ${CMAKE_COMMAND} -E env GAUGE_MODULE_DIR=${CMAKE_BINARY_DIR}/bin GAUGE_LOADER=emulated
            ${NATIVE_BUILD_DIR}/bin/${E_PROGRAM} ${E_ARGS})
  if(NOT E_TIMEOUT)
    set(E_TIMEOUT 600)
  endif()
  set_tests_properties(${E_NAME} PROPERTIES TIMEOUT ${E_TIMEOUT})
endfunction()

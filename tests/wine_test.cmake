# How the Windows configuration runs its tests: under Wine, in a prefix of
# this build's own, quietly and without the .NET and HTML installers a new
# prefix would offer.
find_program(WINE wine)
set(GAUGE_WINE_ENV WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
                   WINEDLLOVERRIDES=mscoree,mshtml=)

# add_failing_test(NAME <name> WHY <text>)
#
# A test that cannot run here still shows up: it fails and says what is
# missing, so a run that lacks it never passes for one that checked it.
function(add_failing_test)
  cmake_parse_arguments(PARSE_ARGV 0 F "" "NAME;WHY" "")
  add_test(NAME ${F_NAME}
    COMMAND ${CMAKE_COMMAND} "-DWHY=${F_NAME}: ${F_WHY}" -P ${GAUGE_TESTS_DIR}/fail_test.cmake)
endfunction()

# Whether Wine runs 32-bit code here is learnt when the tests run, not when
# the build is configured: wine.probe runs the build's own wine_probe.exe
# once per run of the tests, and every test that starts Wine needs it.
# Where Wine is missing or the kernel executes no 32-bit code, those tests
# are skipped with one line saying why; where it runs, they must pass.
if(NOT WINE)
  set(WINE wine)  # found on PATH when the tests run, if installed by then
endif()
set(GAUGE_WINE_PROBE_RESULT ${CMAKE_BINARY_DIR}/wine_probe.result)
set(GAUGE_WINE_RUN ${CMAKE_COMMAND} -E env ${GAUGE_WINE_ENV} sh ${GAUGE_TESTS_DIR}/wine_run.sh
                   ${GAUGE_WINE_PROBE_RESULT} $<TARGET_FILE:wine_probe>)
add_test(NAME wine.probe
  COMMAND ${CMAKE_COMMAND} -E env ${GAUGE_WINE_ENV}
          sh ${PROJECT_SOURCE_DIR}/tools/wine_probe/wine-probe.sh $<TARGET_FILE:wine_probe>
          ${GAUGE_WINE_PROBE_RESULT})
set_tests_properties(wine.probe PROPERTIES FIXTURES_SETUP wine TIMEOUT 400)

# Marks a test as one that starts Wine: it runs after the probe, and is
# skipped when the probe found that Wine cannot run here.
function(wine_test_properties name)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77)
endfunction()

# add_wine_test(NAME <name> COMMAND <command>... [TIMEOUT <seconds>])
#
# Runs COMMAND in this build's Wine environment; ${WINE} in it starts Wine.
function(add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 W "" "NAME;TIMEOUT" "COMMAND")
  add_test(NAME ${W_NAME}
    COMMAND ${GAUGE_WINE_RUN} ${W_COMMAND})
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 300)
  endif()
  set_tests_properties(${W_NAME} PROPERTIES TIMEOUT ${W_TIMEOUT})
  wine_test_properties(${W_NAME})
endfunction()

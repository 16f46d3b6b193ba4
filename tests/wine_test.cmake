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

# add_wine_test(NAME <name> COMMAND <command>... [TIMEOUT <seconds>])
#
# Runs COMMAND in this build's Wine environment; ${WINE} in it starts Wine.
# The first test to start Wine makes the prefix, which takes a while.
function(add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 W "" "NAME;TIMEOUT" "COMMAND")
  if(NOT WINE)
    add_failing_test(NAME ${W_NAME}
      WHY "wine was not found when this build was configured; install it and configure again")
    return()
  endif()
  add_test(NAME ${W_NAME} COMMAND ${CMAKE_COMMAND} -E env ${GAUGE_WINE_ENV} ${W_COMMAND})
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 300)
  endif()
  set_tests_properties(${W_NAME} PROPERTIES TIMEOUT ${W_TIMEOUT})
endfunction()

# Under Wine, against the real modules: every flight in scenarios/ gives the
# same log when the host places copies of the gauges, and the same log as
# the native build.
find_program(WINE wine REQUIRED)
set(wine_env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
file(GLOB flights ${PROJECT_SOURCE_DIR}/scenarios/*.flight)
foreach(flight ${flights})
  get_filename_component(name ${flight} NAME_WE)
  add_test(NAME wine.own_copies.${name}
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env}
            sh ${CMAKE_CURRENT_SOURCE_DIR}/compare_own_copies.sh ${flight} ${CMAKE_BINARY_DIR}/root
            ${CMAKE_BINARY_DIR}/flight_logs ${WINE} $<TARGET_FILE:gaugehost>)
endforeach()

if(NOT NATIVE_BUILD_DIR)
  message(STATUS "NATIVE_BUILD_DIR not set: the native/Wine log comparison is left out")
  return()
endif()
foreach(flight ${flights})
  get_filename_component(name ${flight} NAME_WE)
  add_test(NAME wine.same_log.${name}
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env}
            sh ${CMAKE_CURRENT_SOURCE_DIR}/compare_logs.sh
            ${NATIVE_BUILD_DIR}/bin/gaugehost $<TARGET_FILE:gaugehost> ${flight}
            ${CMAKE_BINARY_DIR}/root ${CMAKE_BINARY_DIR}/flight_logs)
endforeach()

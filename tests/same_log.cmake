# Every flight in scenarios/ gives the same event log natively and under Wine.
if(NOT NATIVE_BUILD_DIR)
  message(STATUS "NATIVE_BUILD_DIR not set: the native/Wine log comparison is left out")
  return()
endif()
find_program(WINE wine REQUIRED)
file(GLOB flights ${PROJECT_SOURCE_DIR}/scenarios/*.flight)
foreach(flight ${flights})
  get_filename_component(name ${flight} NAME_WE)
  add_test(NAME wine.same_log.${name}
    COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
            WINEDLLOVERRIDES=mscoree,mshtml=
            sh ${CMAKE_CURRENT_SOURCE_DIR}/compare_logs.sh
            ${NATIVE_BUILD_DIR}/bin/gaugehost $<TARGET_FILE:gaugehost> ${flight}
            ${CMAKE_BINARY_DIR}/root ${CMAKE_BINARY_DIR}/flight_logs)
endforeach()

# Every flight in scenarios/ is a test: the host flies it and checks its
# expectations, and gives the same log with gauges placed as copies.
file(GLOB flights ${PROJECT_SOURCE_DIR}/scenarios/*.flight)
foreach(flight ${flights})
  get_filename_component(name ${flight} NAME_WE)
  add_test(NAME flight.${name}
    COMMAND $<TARGET_FILE:gaugehost> fly ${flight} --root ${SIM_ROOT}
            --log ${CMAKE_BINARY_DIR}/flight_logs/${name}.log)
  add_test(NAME flight.own_copies.${name}
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/compare_own_copies.sh ${flight} ${SIM_ROOT}
            ${CMAKE_BINARY_DIR}/flight_logs $<TARGET_FILE:gaugehost>)
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/flight_logs)

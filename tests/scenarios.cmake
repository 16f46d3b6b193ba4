# Every flight in scenarios/ is a test: the host flies it and checks its
# expectations.
file(GLOB flights ${PROJECT_SOURCE_DIR}/scenarios/*.flight)
foreach(flight ${flights})
  get_filename_component(name ${flight} NAME_WE)
  add_test(NAME flight.${name}
    COMMAND $<TARGET_FILE:gaugehost> fly ${flight} --root ${SIM_ROOT}
            --log ${CMAKE_BINARY_DIR}/flight_logs/${name}.log)
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/flight_logs)

# OutGauge telemetry: the packet and its pacing, and stravo-sim sending it to a
# UDP listener while the autopilot drives.
stravo_test(outgauge_test ${CMAKE_CURRENT_SOURCE_DIR}/outgauge_test.cpp stravo_game stravo_rmd_writer)
target_compile_definitions(outgauge_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(outgauge_test stravo-sim)

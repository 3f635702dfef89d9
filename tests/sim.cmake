stravo_test(prop_file_test ${CMAKE_CURRENT_SOURCE_DIR}/prop_file_test.cpp stravo_game)

# These run the stravo-sim program itself on data folders they build.
stravo_test(sim_test ${CMAKE_CURRENT_SOURCE_DIR}/sim_test.cpp stravo_rmd_writer)
stravo_test(autopilot_test ${CMAKE_CURRENT_SOURCE_DIR}/autopilot_test.cpp stravo_rmd_writer)
target_sources(autopilot_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/sim/track_line.cpp)
foreach(t sim_test autopilot_test)
  target_compile_definitions(${t} PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
  add_dependencies(${t} stravo-sim)
endforeach()

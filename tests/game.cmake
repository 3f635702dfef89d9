# The game update and its parts, all without GL.
foreach(module menu best_times laps trip_stats time_display skid_marks car_shadow cameras update)
  stravo_test(${module}_test ${CMAKE_CURRENT_SOURCE_DIR}/${module}_test.cpp stravo_game)
endforeach()

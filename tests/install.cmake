# The command lines of the game and of stravo-sim.
stravo_test(command_line_test ${CMAKE_CURRENT_SOURCE_DIR}/command_line_test.cpp stravo_game_options)
target_sources(command_line_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/sim/sim_options.cpp)

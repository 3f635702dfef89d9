stravo_test(prop_file_test ${CMAKE_CURRENT_SOURCE_DIR}/prop_file_test.cpp stravo_game)

# These run the stravo-sim program itself on data folders they build.
stravo_test(sim_test ${CMAKE_CURRENT_SOURCE_DIR}/sim_test.cpp stravo_rmd_writer)
stravo_test(autopilot_test ${CMAKE_CURRENT_SOURCE_DIR}/autopilot_test.cpp stravo_track_line stravo_rmd_writer)
foreach(t sim_test autopilot_test)
  target_compile_definitions(${t} PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
  add_dependencies(${t} stravo-sim)
endforeach()

# The autopilot's long run on the generated data set: labelled "long" so the
# sanitizer build, which runs only "unit" tests, leaves it out.
if(TARGET stravo-datagen)
  stravo_labelled_test(long long_run_test ${CMAKE_CURRENT_SOURCE_DIR}/long_run_test.cpp)
  target_compile_definitions(long_run_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>"
                             STRAVO_DATAGEN_PATH="$<TARGET_FILE:stravo-datagen>")
  add_dependencies(long_run_test stravo-sim stravo-datagen)
endif()

# Whole generated data sets, the default circuit and seeded ones, driven by the
# autopilot; "long" like the long run, as it runs both programs nine times.
if(TARGET stravo-datagen)
  stravo_labelled_test(long circuits_test ${CMAKE_CURRENT_SOURCE_DIR}/circuits_test.cpp stravo_rmd_writer)
  target_compile_definitions(circuits_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>"
                             STRAVO_DATAGEN_PATH="$<TARGET_FILE:stravo-datagen>")
  add_dependencies(circuits_test stravo-sim stravo-datagen)
endif()

stravo_fuzzer(fuzz_sim_inputs ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_sim_inputs.cpp
  stravo_track_line stravo_game stravo_input)

# Ghost laps: files written by stravo-sim on the test oval, read back and driven again.
stravo_test(ghost_test ${CMAKE_CURRENT_SOURCE_DIR}/ghost_test.cpp stravo_lap_proofs stravo_game stravo_startup_models
            stravo_rmd_writer)
target_compile_definitions(ghost_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(ghost_test stravo-sim)

stravo_fuzzer(fuzz_ghost ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_ghost.cpp stravo_game
              SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_ghost_seeds.cpp)
stravo_benchmark(ghost_bench ${CMAKE_CURRENT_SOURCE_DIR}/ghost_bench.cpp stravo_game)

# The replay viewer inside the game's update, on a lap the runner recorded.
stravo_test(replay_drive_test ${CMAKE_CURRENT_SOURCE_DIR}/replay_drive_test.cpp stravo_lap_proofs stravo_game
            stravo_startup_models stravo_rmd_writer)
target_sources(replay_drive_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/sim/telemetry.cpp)
target_compile_definitions(replay_drive_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(replay_drive_test stravo-sim)

# The sectors and the delta column of the runner on the test oval.
stravo_test(timing_run_test ${CMAKE_CURRENT_SOURCE_DIR}/timing_run_test.cpp stravo_rmd_writer)
target_compile_definitions(timing_run_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(timing_run_test stravo-sim)

# The runner's failed saves: one line each on stderr and exit code 1.
stravo_test(failed_saves_test ${CMAKE_CURRENT_SOURCE_DIR}/failed_saves_test.cpp stravo_rmd_writer)
target_compile_definitions(failed_saves_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(failed_saves_test stravo-sim)

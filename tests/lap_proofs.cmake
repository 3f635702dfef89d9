# Lap proofs on the test oval: recorded beside the game's tick (keyboard bot and
# the runner's autopilot), verified, edited and damaged; and the car's
# behaviour pinned to its physics version.
stravo_test(lap_proof_test ${CMAKE_CURRENT_SOURCE_DIR}/lap_proof_test.cpp stravo_lap_proofs stravo_input
            stravo_rmd_writer)
target_sources(lap_proof_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/physics_version_test.cpp
               ${CMAKE_SOURCE_DIR}/tools/sim/autopilot.cpp)
target_compile_definitions(lap_proof_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(lap_proof_test stravo-sim)

stravo_fuzzer(fuzz_proof ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_proof.cpp stravo_lap_proofs
              SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_proof_seeds.cpp)

stravo_benchmark(proof_bench ${CMAKE_CURRENT_SOURCE_DIR}/proof_bench.cpp stravo_lap_proofs stravo_input
                 stravo_rmd_writer)
target_sources(proof_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools/sim/autopilot.cpp)
target_compile_definitions(proof_bench PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")

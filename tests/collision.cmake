stravo_test(rmd_mesh_test ${CMAKE_CURRENT_SOURCE_DIR}/rmd_mesh_test.cpp stravo_mesh stravo_rmd_writer)
stravo_test(quadtree_test ${CMAKE_CURRENT_SOURCE_DIR}/quadtree_test.cpp stravo_physics)
stravo_test(contact_test ${CMAKE_CURRENT_SOURCE_DIR}/contact_test.cpp stravo_physics)
stravo_test(world_test ${CMAKE_CURRENT_SOURCE_DIR}/world_test.cpp stravo_physics)
stravo_benchmark(collision_bench ${CMAKE_CURRENT_SOURCE_DIR}/collision_bench.cpp stravo_physics)
stravo_fuzzer(fuzz_rmd ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_rmd.cpp stravo_physics stravo_rmd_writer
              SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_rmd_seeds.cpp)
stravo_test(startup_models_test ${CMAKE_CURRENT_SOURCE_DIR}/startup_models_test.cpp stravo_startup_models
            stravo_rmd_writer)

stravo_test(tga_test ${CMAKE_CURRENT_SOURCE_DIR}/tga_test.cpp stravo_render_data)
stravo_test(material_script_test ${CMAKE_CURRENT_SOURCE_DIR}/material_script_test.cpp stravo_render_data)
stravo_gl_test(textures_test ${CMAKE_CURRENT_SOURCE_DIR}/textures_test.cpp stravo_render PkgConfig::SDL2)
stravo_gl_test(renderer_test ${CMAKE_CURRENT_SOURCE_DIR}/renderer_test.cpp stravo_render PkgConfig::SDL2)
stravo_gl_test(mat_renderer_test ${CMAKE_CURRENT_SOURCE_DIR}/mat_renderer_test.cpp stravo_render PkgConfig::SDL2)
stravo_gl_test(shader_program_test ${CMAKE_CURRENT_SOURCE_DIR}/shader_program_test.cpp stravo_render PkgConfig::SDL2)
stravo_fuzzer(fuzz_tga ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_tga.cpp stravo_render_data
              SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_tga_seeds.cpp)
stravo_fuzzer(fuzz_script ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_script.cpp stravo_render_data
              SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_script_seeds.cpp)
# The scene of the data set at 800 x 600; run under a display with
# STRAVO_DATA_DIR naming a folder written by stravo-datagen.
stravo_benchmark(render_bench ${CMAKE_CURRENT_SOURCE_DIR}/render_bench.cpp stravo_game_draw PkgConfig::SDL2)
stravo_test(range_culling_test ${CMAKE_CURRENT_SOURCE_DIR}/range_culling_test.cpp stravo_render_data)
stravo_test(draw_order_test ${CMAKE_CURRENT_SOURCE_DIR}/draw_order_test.cpp stravo_render_data)

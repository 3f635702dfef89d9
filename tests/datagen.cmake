# The data set generator: the circuit's layout and surfaces, then every file of
# a generated data set read back with the program's own loaders.
stravo_test(datagen_track_test ${CMAKE_CURRENT_SOURCE_DIR}/datagen_track_test.cpp
            stravo_datagen stravo_startup_models stravo_physics)
stravo_test(datagen_assets_test ${CMAKE_CURRENT_SOURCE_DIR}/datagen_assets_test.cpp
            stravo_datagen stravo_render_data stravo_game stravo_startup_models PkgConfig::SDL2)
stravo_test(datagen_formats_test ${CMAKE_CURRENT_SOURCE_DIR}/datagen_formats_test.cpp
            stravo_datagen stravo_render_data)
# The generated data set drawn by the renderer from the start position.
stravo_gl_test(datagen_render_test ${CMAKE_CURRENT_SOURCE_DIR}/datagen_render_test.cpp
               stravo_datagen stravo_render stravo_game PkgConfig::SDL2)
# The generated car seen from around it: paint, glass and lamps read as such.
stravo_gl_test(car_look_test ${CMAKE_CURRENT_SOURCE_DIR}/car_look_test.cpp
               stravo_datagen stravo_render stravo_game PkgConfig::SDL2)
stravo_test(smooth_shell_test ${CMAKE_CURRENT_SOURCE_DIR}/smooth_shell_test.cpp stravo_datagen)
stravo_test(terrain_mesh_test ${CMAKE_CURRENT_SOURCE_DIR}/terrain_mesh_test.cpp stravo_datagen)

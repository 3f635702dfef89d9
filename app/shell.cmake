# The shell's GL-free pieces: configuration, frame clock and run statistics.
add_library(stravo_shell_core STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/config.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frame_timer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/run_stats.cpp)
target_link_libraries(stravo_shell_core PUBLIC stravo_base)

# The window, its GL context and the message boxes over SDL2.
add_library(stravo_window STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/message_box.cpp)
target_link_libraries(stravo_window PUBLIC stravo_shell_core PkgConfig::SDL2 OpenGL::GL PkgConfig::GLU)

# The program: build/stravo.
add_executable(stravo
  ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/startup.cpp)
# The renderer's libraries carry STRAVO_GLSL (1 or 0) to everything that links them.
target_link_libraries(stravo PRIVATE stravo_window stravo_game_draw stravo_startup_models stravo_car_audio
                                     stravo_input_sdl stravo_outgauge stravo_track_line stravo_lap_proofs
                                     stravo_board_play)

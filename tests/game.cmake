# The game update and its parts, all without GL.
foreach(module menu best_times laps trip_stats time_display skid_marks car_shadow cameras update)
  stravo_test(${module}_test ${CMAKE_CURRENT_SOURCE_DIR}/${module}_test.cpp stravo_game)
endforeach()

# A player's session with the real program and a generated data set, driven by
# X key events; screenshots land in build/artefacts/game_e2e.
if(TARGET stravo AND TARGET stravo-datagen)
  add_test(NAME game_e2e
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/game_e2e_test.sh $<TARGET_FILE:stravo>
                   $<TARGET_FILE:stravo-datagen> ${CMAKE_BINARY_DIR}/e2e-game
                   ${CMAKE_BINARY_DIR}/artefacts/game_e2e)
  set_tests_properties(game_e2e PROPERTIES LABELS gl SKIP_RETURN_CODE 77 TIMEOUT 420 RUN_SERIAL TRUE)
endif()

# The overlay's geometry; links GL but draws nothing.
stravo_test(overlay_test ${CMAKE_CURRENT_SOURCE_DIR}/overlay_test.cpp stravo_game_draw)

# The frame's overlay over an empty scene, read back from a real window.
stravo_gl_test(frame_test ${CMAKE_CURRENT_SOURCE_DIR}/frame_test.cpp stravo_game_draw PkgConfig::SDL2)

# The live delta, the sector splits and the replay viewer's clock and keys.
foreach(module timing_aids replay_viewer)
  stravo_test(${module}_test ${CMAKE_CURRENT_SOURCE_DIR}/${module}_test.cpp stravo_game)
endforeach()

# The ghost car (a lap of stravo-sim's autopilot as the best lap, shown with G)
# and the timing aids with the replay viewer (against that lap), in the real
# program; screenshots land in build/artefacts/NAME_e2e.
if(TARGET stravo AND TARGET stravo-sim AND TARGET stravo-datagen)
  foreach(name ghost timing)
    add_test(NAME ${name}_e2e
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/${name}_e2e_test.sh $<TARGET_FILE:stravo> $<TARGET_FILE:stravo-sim>
                     $<TARGET_FILE:stravo-datagen> ${CMAKE_BINARY_DIR}/e2e-${name}
                     ${CMAKE_BINARY_DIR}/artefacts/${name}_e2e)
    set_tests_properties(${name}_e2e PROPERTIES LABELS gl SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
  endforeach()
endif()

# The timing aids and the replay banner in the frame, with the data set's pictures.
stravo_gl_test(timing_frame_test ${CMAKE_CURRENT_SOURCE_DIR}/timing_frame_test.cpp stravo_game_draw stravo_datagen
               PkgConfig::SDL2)
target_compile_definitions(timing_frame_test PRIVATE STRAVO_ARTEFACTS="${CMAKE_BINARY_DIR}/artefacts")

# Telemetry: the OutGauge packet and its pacing, stravo-sim sending it to a UDP
# listener while the autopilot drives, and the lap plot command.
stravo_test(outgauge_test ${CMAKE_CURRENT_SOURCE_DIR}/outgauge_test.cpp stravo_game stravo_rmd_writer)
target_compile_definitions(outgauge_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(outgauge_test stravo-sim)

# The lap plot command (Python 3 and matplotlib) on two autopilot laps of the
# generated circuit; the pictures land in build/artefacts/lap_plot.
if(TARGET stravo-datagen)
  add_test(NAME lap_plot
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/lap_plot_test.sh $<TARGET_FILE:stravo-sim>
                   $<TARGET_FILE:stravo-datagen> ${CMAKE_SOURCE_DIR}/tools/lap_plot.py
                   ${CMAKE_BINARY_DIR}/lap-plot ${CMAKE_BINARY_DIR}/artefacts/lap_plot)
  set_tests_properties(lap_plot PROPERTIES LABELS long TIMEOUT 300)
endif()

# The real program sending OutGauge to a listener while Up is held, driven by X
# key events; a screenshot and the packets land in build/artefacts/outgauge_game.
if(TARGET stravo AND TARGET stravo-datagen)
  add_test(NAME outgauge_game
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/outgauge_game_test.sh $<TARGET_FILE:stravo>
                   $<TARGET_FILE:stravo-datagen> ${CMAKE_CURRENT_SOURCE_DIR}/outgauge_listen.py
                   ${CMAKE_BINARY_DIR}/e2e-outgauge ${CMAKE_BINARY_DIR}/artefacts/outgauge_game)
  set_tests_properties(outgauge_game PROPERTIES LABELS gl SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
endif()

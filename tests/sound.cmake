stravo_test(car_sounds_test ${CMAKE_CURRENT_SOURCE_DIR}/car_sounds_test.cpp stravo_car_sounds)
stravo_test(sound_test ${CMAKE_CURRENT_SOURCE_DIR}/sound_test.cpp stravo_sound)
stravo_test(car_sound_channels_test ${CMAKE_CURRENT_SOURCE_DIR}/car_sound_channels_test.cpp stravo_car_audio)

# A whole drive with the real program, heard through the wave-file output; the
# capture lands in build/artefacts/game_audio.
add_executable(audio_probe ${CMAKE_CURRENT_SOURCE_DIR}/audio_probe.cpp)
target_link_libraries(audio_probe PRIVATE stravo_sound)
set_target_properties(audio_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
if(TARGET stravo AND TARGET stravo-datagen)
  add_test(NAME game_audio
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/game_audio_test.sh $<TARGET_FILE:stravo>
                   $<TARGET_FILE:stravo-datagen> $<TARGET_FILE:audio_probe> ${CMAKE_BINARY_DIR}/e2e-audio
                   ${CMAKE_BINARY_DIR}/artefacts/game_audio)
  set_tests_properties(game_audio PROPERTIES LABELS gl SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
endif()

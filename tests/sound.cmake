stravo_test(car_sounds_test ${CMAKE_CURRENT_SOURCE_DIR}/car_sounds_test.cpp stravo_car_sounds)
stravo_test(sound_test ${CMAKE_CURRENT_SOURCE_DIR}/sound_test.cpp stravo_sound)
stravo_test(car_sound_channels_test ${CMAKE_CURRENT_SOURCE_DIR}/car_sound_channels_test.cpp stravo_car_audio)

# A whole drive with the real program, heard through the wave-file output; the
# capture lands in build/artefacts/game_audio.
add_executable(audio_probe ${CMAKE_CURRENT_SOURCE_DIR}/audio_probe.cpp)
target_link_libraries(audio_probe PRIVATE stravo_sound)
set_target_properties(audio_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

stravo_test(car_sounds_test ${CMAKE_CURRENT_SOURCE_DIR}/car_sounds_test.cpp stravo_car_sounds)
stravo_test(sound_test ${CMAKE_CURRENT_SOURCE_DIR}/sound_test.cpp stravo_sound)
stravo_test(car_sound_channels_test ${CMAKE_CURRENT_SOURCE_DIR}/car_sound_channels_test.cpp stravo_car_audio)

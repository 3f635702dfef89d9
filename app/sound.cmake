# The car's sound rules: plain arithmetic on what the car reports, no OpenAL.
add_library(stravo_car_sounds STATIC ${CMAKE_CURRENT_SOURCE_DIR}/car_sounds.cpp)

# The sample player over OpenAL Soft, WAV files read by SDL2.
add_library(stravo_sound STATIC ${CMAKE_CURRENT_SOURCE_DIR}/sound.cpp)
target_link_libraries(stravo_sound PUBLIC stravo_base PkgConfig::OPENAL PkgConfig::SDL2)

# The car's channels on the player: start-up and the per-update settings.
add_library(stravo_car_audio STATIC ${CMAKE_CURRENT_SOURCE_DIR}/car_sound_channels.cpp)
target_link_libraries(stravo_car_audio PUBLIC stravo_sound stravo_car_sounds stravo_vehicle)

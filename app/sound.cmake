# The car's sound rules: plain arithmetic on the car's state, no OpenAL.
add_library(stravo_car_sounds STATIC ${CMAKE_CURRENT_SOURCE_DIR}/car_sounds.cpp)

# The sample player over OpenAL Soft (WAV files read by SDL2) and the car's channels on it.
add_library(stravo_sound STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/sound.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/car_sound_channels.cpp)
target_link_libraries(stravo_sound PUBLIC stravo_car_sounds stravo_base PkgConfig::OPENAL PkgConfig::SDL2)

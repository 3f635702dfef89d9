# The input device: an SDL-free core with a scripted source, and the SDL source.
add_library(stravo_input STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/input_device.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/rumble.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/scripted_input.cpp)
target_link_libraries(stravo_input PUBLIC stravo_base)

# The keyboard and joystick over SDL2, with the joystick's polling thread.
add_library(stravo_input_sdl STATIC ${CMAKE_CURRENT_SOURCE_DIR}/input_sdl.cpp)
target_link_libraries(stravo_input_sdl PUBLIC stravo_input stravo_base PkgConfig::SDL2 Threads::Threads)

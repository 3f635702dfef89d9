# The input device: an SDL-free core with a scripted source, and the SDL source.
add_library(stravo_input STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/input_device.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/scripted_input.cpp)

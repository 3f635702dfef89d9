stravo_test(input_test ${CMAKE_CURRENT_SOURCE_DIR}/input_test.cpp stravo_input)
stravo_test(input_sdl_test ${CMAKE_CURRENT_SOURCE_DIR}/input_sdl_test.cpp stravo_input_sdl stravo_vehicle)

stravo_test(input_test ${CMAKE_CURRENT_SOURCE_DIR}/input_test.cpp stravo_input)

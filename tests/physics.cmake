stravo_test(math_test ${CMAKE_CURRENT_SOURCE_DIR}/math_test.cpp stravo_physics)
stravo_test(log_test ${CMAKE_CURRENT_SOURCE_DIR}/log_test.cpp stravo_base)

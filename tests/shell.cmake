stravo_gl_test(window_test ${CMAKE_CURRENT_SOURCE_DIR}/window_test.cpp stravo_window)

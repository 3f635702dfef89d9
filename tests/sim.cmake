stravo_test(prop_file_test ${CMAKE_CURRENT_SOURCE_DIR}/prop_file_test.cpp stravo_props)

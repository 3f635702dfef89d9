stravo_test(rmd_mesh_test ${CMAKE_CURRENT_SOURCE_DIR}/rmd_mesh_test.cpp stravo_mesh stravo_rmd_writer)

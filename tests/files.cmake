# The bounded reader and the atomic save, and the loaders and saves built on them.
stravo_test(files_test ${CMAKE_CURRENT_SOURCE_DIR}/files_test.cpp stravo_game stravo_mesh)

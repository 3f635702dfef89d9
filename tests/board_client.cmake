# The board client: answers, tokens, the outbox and the data set's circuit
# without a network; then the headless runner against a real stravo-board and
# against misbehaving loopback boards (once, in the build with shaders).
stravo_test(board_client_unit_test ${CMAKE_CURRENT_SOURCE_DIR}/board_client_test.cpp stravo_board_client)

if(NOT TARGET stravo-board OR NOT STRAVO_GLSL)
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME board_client COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/board/board_client_test.py
         ${CMAKE_BINARY_DIR})
set_tests_properties(board_client PROPERTIES LABELS board TIMEOUT 300)

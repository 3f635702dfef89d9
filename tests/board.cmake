# The leaderboard service: its API on SQLite and on a PostgreSQL cluster the
# test starts, kill -9 during submissions, and the pages in headless Chromium.
# These run once, in the build with shaders (the board does not draw).
if(NOT TARGET stravo-board)
  return()
endif()

stravo_test(board_text_test ${CMAKE_CURRENT_SOURCE_DIR}/board_text_test.cpp stravo_board)
# The circuits a board makes: the recent daily ones past --max-circuits.
stravo_test(board_circuits_test ${CMAKE_CURRENT_SOURCE_DIR}/board_circuits_test.cpp stravo_board)
stravo_test(board_store_test ${CMAKE_CURRENT_SOURCE_DIR}/board_store_test.cpp stravo_board)
stravo_test(board_lap_check_test ${CMAKE_CURRENT_SOURCE_DIR}/board_lap_check_test.cpp stravo_board)
target_compile_definitions(board_lap_check_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(board_lap_check_test stravo-sim)
stravo_benchmark(board_verify_bench ${CMAKE_CURRENT_SOURCE_DIR}/board_verify_bench.cpp stravo_board)
target_compile_definitions(board_verify_bench PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(board_verify_bench stravo-sim)

if(NOT STRAVO_GLSL)
  return()
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(board_tests ${CMAKE_CURRENT_SOURCE_DIR}/board)
foreach(test api_sqlite api_postgres kill browser)
  set(args ${CMAKE_BINARY_DIR})
  set(script board_${test}_test.py)
  if(test STREQUAL "api_sqlite" OR test STREQUAL "api_postgres")
    set(script board_api_test.py)
  endif()
  if(test STREQUAL "api_postgres")
    list(APPEND args --postgres)
  endif()
  if(test STREQUAL "browser")
    list(APPEND args ${CMAKE_BINARY_DIR}/tests/board-screenshots)
  endif()
  add_test(NAME board_${test} COMMAND ${Python3_EXECUTABLE} ${board_tests}/${script} ${args})
  set_tests_properties(board_${test} PROPERTIES LABELS board TIMEOUT 300)
endforeach()

# The board client: answers, tokens, the outbox and the data set's circuit
# without a network; then the headless runner against a real stravo-board and
# against misbehaving loopback boards (once, in the build with shaders).
stravo_test(board_client_unit_test ${CMAKE_CURRENT_SOURCE_DIR}/board_client_test.cpp stravo_board_client)
# Which ghost G shows next (off, own best, rival, leader) and the lap it drives.
stravo_test(ghost_choice_test ${CMAKE_CURRENT_SOURCE_DIR}/ghost_choice_test.cpp stravo_laps)
# The proofs sent and fetched: an autopilot lap on the test oval, checked again.
stravo_test(board_proof_test ${CMAKE_CURRENT_SOURCE_DIR}/board_proof_test.cpp stravo_lap_proof stravo_autopilot
            stravo_input stravo_rmd_writer)
target_compile_definitions(board_proof_test PRIVATE STRAVO_SIM_PATH="$<TARGET_FILE:stravo-sim>")
add_dependencies(board_proof_test stravo-sim)

if(NOT TARGET stravo-board OR NOT STRAVO_GLSL)
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME board_client COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/board/board_client_test.py
         ${CMAKE_BINARY_DIR})
set_tests_properties(board_client PROPERTIES LABELS board TIMEOUT 300)

# The game itself on a real board, under the X display; screenshots land in
# build/artefacts/board_e2e.
add_test(NAME board_e2e
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/board_e2e_test.sh $<TARGET_FILE:stravo> $<TARGET_FILE:stravo-sim>
                 $<TARGET_FILE:stravo-datagen> $<TARGET_FILE:stravo-board> ${CMAKE_BINARY_DIR}/e2e-board
                 ${CMAKE_BINARY_DIR}/artefacts/board_e2e)
set_tests_properties(board_e2e PROPERTIES LABELS gl SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)

# The game's lap with the board down waits in the outbox and is on the board
# after the next start (about a minute and a half: the lap is driven in real time).
add_test(NAME board_outbox
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/board_outbox_test.sh $<TARGET_FILE:stravo> $<TARGET_FILE:stravo-sim>
                 $<TARGET_FILE:stravo-datagen> $<TARGET_FILE:stravo-board> ${CMAKE_BINARY_DIR}/e2e-board-outbox
                 ${CMAKE_BINARY_DIR}/artefacts/board_outbox)
set_tests_properties(board_outbox PROPERTIES LABELS "board;gl" SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)

# The leaderboard client: HTTP through libcurl, the board's API, tokens, the
# outbox and the proofs, shared by the game and the headless runner.
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
find_package(nlohmann_json 3 REQUIRED)
add_library(stravo_board_client STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/http_client.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/board_api.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/board_tokens.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/board_sync.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/data_set_circuit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/lap_outbox.cpp)
target_link_libraries(stravo_board_client PUBLIC stravo_base PkgConfig::CURL PRIVATE nlohmann_json::nlohmann_json)

# The proofs: what is sent for a lap and how a fetched one is checked.
add_library(stravo_lap_proof STATIC ${CMAKE_CURRENT_SOURCE_DIR}/lap_proof.cpp)
target_link_libraries(stravo_lap_proof PUBLIC stravo_lap_proofs stravo_game)

# The game's side: the worker thread that talks to the board during a drive.
add_library(stravo_board_play STATIC ${CMAKE_CURRENT_SOURCE_DIR}/board_play.cpp)
target_link_libraries(stravo_board_play PUBLIC stravo_board_client stravo_lap_proof stravo_startup_models
                      Threads::Threads)

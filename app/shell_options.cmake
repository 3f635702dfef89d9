# The programs' command lines, parsed with CLI11 (header-only).
find_package(CLI11 CONFIG REQUIRED)
add_library(stravo_command_line STATIC ${CMAKE_CURRENT_SOURCE_DIR}/command_line.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/outgauge_options.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/bench_options.cpp)
target_link_libraries(stravo_command_line PUBLIC CLI11::CLI11)

add_library(stravo_game_options STATIC ${CMAKE_CURRENT_SOURCE_DIR}/game_options.cpp)
target_link_libraries(stravo_game_options PUBLIC stravo_command_line stravo_board_client)
target_compile_definitions(stravo_game_options PRIVATE STRAVO_VERSION="${PROJECT_VERSION}")
target_link_libraries(stravo PRIVATE stravo_game_options)

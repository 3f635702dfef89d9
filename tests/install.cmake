# The command lines of the game and of stravo-sim.
stravo_test(command_line_test ${CMAKE_CURRENT_SOURCE_DIR}/command_line_test.cpp stravo_game_options)
target_sources(command_line_test PRIVATE ${CMAKE_SOURCE_DIR}/tools/sim/sim_options.cpp)
target_link_libraries(command_line_test PRIVATE stravo_board_client)

# The desktop icon and its PNG encoding.
stravo_test(icon_test ${CMAKE_CURRENT_SOURCE_DIR}/icon_test.cpp stravo_icon)

# The installed game in a fresh prefix and home, the desktop files' validators and
# the Debian package.
add_test(NAME install COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install PROPERTIES LABELS gl TIMEOUT 400 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)

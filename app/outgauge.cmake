# OutGauge telemetry over UDP, shared by the game and the headless runner.
add_library(stravo_outgauge STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/outgauge_feed.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/udp_sender.cpp)
target_link_libraries(stravo_outgauge PUBLIC stravo_game)

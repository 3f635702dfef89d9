# The benchmark drive (stravo --bench): its lap and frame records, free of GL
# and SDL, and the drive and its plot in the program.
add_library(stravo_bench STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/bench_lap.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/bench_record.cpp)
target_link_libraries(stravo_bench PUBLIC stravo_autopilot stravo_game stravo_input stravo_base)
target_sources(stravo PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/bench_plot.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/bench_run.cpp)
target_link_libraries(stravo PRIVATE stravo_bench)

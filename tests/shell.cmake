stravo_test(config_test ${CMAKE_CURRENT_SOURCE_DIR}/config_test.cpp stravo_shell_core)
stravo_test(run_stats_test ${CMAKE_CURRENT_SOURCE_DIR}/run_stats_test.cpp stravo_shell_core)
stravo_gl_test(window_test ${CMAKE_CURRENT_SOURCE_DIR}/window_test.cpp stravo_window)

# The real program under the display ./test.sh provides: an empty folder, then
# the generated data set (SIGTERM after about a second; the menu's quit item).
find_package(X11 REQUIRED)
add_executable(window_visual_probe ${CMAKE_CURRENT_SOURCE_DIR}/window_visual_probe.cpp)
target_link_libraries(window_visual_probe PRIVATE X11::X11 OpenGL::GLX)
set_target_properties(window_visual_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
if(STRAVO_GLSL)
  set(stravo_samples multisample)
else()
  set(stravo_samples plain)
endif()
add_test(NAME stravo_window
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/stravo_window_test.sh $<TARGET_FILE:stravo>
                 $<TARGET_FILE:stravo-datagen> $<TARGET_FILE:window_visual_probe> ${stravo_samples})
set_tests_properties(stravo_window PROPERTIES LABELS gl TIMEOUT 300 RUN_SERIAL TRUE)

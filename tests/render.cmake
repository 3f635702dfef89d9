stravo_test(tga_test ${CMAKE_CURRENT_SOURCE_DIR}/tga_test.cpp stravo_render_data)
stravo_test(material_script_test ${CMAKE_CURRENT_SOURCE_DIR}/material_script_test.cpp stravo_render_data)
stravo_gl_test(textures_test ${CMAKE_CURRENT_SOURCE_DIR}/textures_test.cpp stravo_render PkgConfig::SDL2)
stravo_gl_test(renderer_test ${CMAKE_CURRENT_SOURCE_DIR}/renderer_test.cpp stravo_render PkgConfig::SDL2)

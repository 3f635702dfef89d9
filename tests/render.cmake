stravo_test(tga_test ${CMAKE_CURRENT_SOURCE_DIR}/tga_test.cpp stravo_render_data)
stravo_test(material_script_test ${CMAKE_CURRENT_SOURCE_DIR}/material_script_test.cpp stravo_render_data)

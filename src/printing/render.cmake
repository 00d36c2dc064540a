# Receipt rendering: template language, row grouping, element styles, ESC/POS
# bytes, BMP pictures and copy numbers. No display and no GTK.
add_library(vorna_printing_render STATIC
  ${CMAKE_CURRENT_LIST_DIR}/receipt_element.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/element_style.cpp
  ${CMAKE_CURRENT_LIST_DIR}/receipt_renderer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_number.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_size_attribute.cpp
  ${CMAKE_CURRENT_LIST_DIR}/receipt.cpp)
target_include_directories(vorna_printing_render PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorna_printing_render PUBLIC vorna_log vorna_config)

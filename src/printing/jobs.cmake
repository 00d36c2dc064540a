# Print jobs, the print queue and thread, printer I/O and receipt images.
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(GDK_PIXBUF REQUIRED IMPORTED_TARGET gdk-pixbuf-2.0)

add_library(vorna_printing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/print_queue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_request.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_job_runner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_job_rendering.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_thread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printer_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printer_locator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/receipt_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/receipt_image_step.cpp)
target_include_directories(vorna_printing PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorna_printing
  PUBLIC vorna_printing_render vorna_log vorna_config vorna_platform_printers Threads::Threads
  PRIVATE vorna_channel PkgConfig::CURL PkgConfig::GDK_PIXBUF)

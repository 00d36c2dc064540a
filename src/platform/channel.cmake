add_library(vorna_channel STATIC ${CMAKE_CURRENT_LIST_DIR}/window_channel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_frame.cpp)
target_include_directories(vorna_channel PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorna_channel PUBLIC vorna_config PkgConfig::GLIB)

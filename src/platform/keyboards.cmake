# Keyboard presence through udev.
add_library(vorna_platform_keyboards STATIC ${CMAKE_CURRENT_LIST_DIR}/keyboards.cpp)
target_include_directories(vorna_platform_keyboards PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorna_platform_keyboards PRIVATE PkgConfig::UDEV)

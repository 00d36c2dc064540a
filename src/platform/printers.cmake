# USB printer discovery (libudev) and the device lab's virtual printers.
add_library(vorna_platform_printers STATIC ${CMAKE_CURRENT_LIST_DIR}/usb_printers.cpp)
target_include_directories(vorna_platform_printers PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorna_platform_printers PUBLIC PkgConfig::GLIB PRIVATE PkgConfig::UDEV)

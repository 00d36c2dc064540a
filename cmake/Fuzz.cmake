# A libFuzzer binary built with clang and sanitizers, on request only:
#   cmake --build <build> --target NAME && <build>/fuzz/NAME
# ENTRY holds LLVMFuzzerTestOneInput; SOURCES and the sources of LIBRARIES
# (our static libraries) are compiled in with it. Nothing happens without clang.
function(vorna_add_clang_fuzzer name)
  cmake_parse_arguments(FUZZ "" "ENTRY" "SOURCES;LIBRARIES" ${ARGN})
  find_program(VORNA_CLANGXX NAMES clang++)
  if(NOT VORNA_CLANGXX)
    return()
  endif()
  set(fuzzSources ${FUZZ_ENTRY} ${FUZZ_SOURCES})
  foreach(library IN LISTS FUZZ_LIBRARIES)
    get_target_property(librarySources ${library} SOURCES)
    get_target_property(libraryFolder ${library} SOURCE_DIR)
    foreach(source IN LISTS librarySources)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${libraryFolder})
      list(APPEND fuzzSources ${source})
    endforeach()
  endforeach()
  set(fuzzer ${CMAKE_BINARY_DIR}/fuzz/${name})
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz
    COMMAND ${VORNA_CLANGXX} -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined
            -I${PROJECT_SOURCE_DIR}/src ${GLIB_CFLAGS} ${fuzzSources} ${GLIB_LDFLAGS} -o ${fuzzer}
    DEPENDS ${fuzzSources}
    COMMENT "Building the ${name} fuzzer with clang"
    COMMAND_EXPAND_LISTS VERBATIM)
  add_custom_target(${name} DEPENDS ${fuzzer})
endfunction()

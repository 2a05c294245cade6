# Native build: the window-free parts, their unit tests and the settings checker.
find_package(GTest REQUIRED)

add_library(glimra_portable STATIC ${GLIMRA_PORTABLE_SOURCES})
target_include_directories(glimra_portable PUBLIC ${PROJECT_SOURCE_DIR})

add_subdirectory(tests/unit)
add_subdirectory(tools/glimra-check)
add_subdirectory(tests/tools)
add_subdirectory(bench)

option(GLIMRA_FUZZ "Build the libFuzzer target (needs clang)" OFF)
if(GLIMRA_FUZZ)
  add_subdirectory(fuzz)
endif()

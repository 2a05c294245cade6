# Native build: the window-free parts, their unit tests and the settings checker.
find_package(GTest REQUIRED)

add_library(glimra_portable STATIC ${GLIMRA_PORTABLE_SOURCES})
target_include_directories(glimra_portable PUBLIC ${PROJECT_SOURCE_DIR})
# The host's six functions over real files, for the tests, the fuzzer and the benchmark.
add_library(host_functions STATIC ${PROJECT_SOURCE_DIR}/host/host_functions.cpp
                                  ${PROJECT_SOURCE_DIR}/host/line_reader.cpp)
target_include_directories(host_functions PUBLIC ${PROJECT_SOURCE_DIR})

# Where the Windows presets put their DLLs and hosts, which the checker's
# tests and fuzzer read as files.
set(GLIMRA_X86_BIN_DIR ${PROJECT_SOURCE_DIR}/build/mingw-x86/bin CACHE PATH "Built x86 GLIMRA.dll and tarvex.exe")
set(GLIMRA_X64_BIN_DIR ${PROJECT_SOURCE_DIR}/build/mingw-x64/bin CACHE PATH "Built x64 GLIMRA.dll and tarvex.exe")

add_subdirectory(tests/unit)
add_subdirectory(tools/glimra-check)
add_subdirectory(tests/tools)
add_subdirectory(bench)

option(GLIMRA_FUZZ "Build the libFuzzer target (needs clang)" OFF)
if(GLIMRA_FUZZ)
  add_subdirectory(fuzz)
endif()

# Windows build: GLIMRA.dll, the reference host "tarvex.exe" and the end-to-end tests.

enable_language(RC)

# Every Windows source sees the same <windows.h>: without the rarely used
# headers it otherwise pulls in (sockets, OLE, the common dialogs and the
# like), which a file that wants one includes itself, and without the min and
# max macros, which would clash with std::min and std::max.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# How tests start a Windows program: directly on Windows; elsewhere under Wine
# (x86 programs through the 32-bit Wine), where drive Z: is the root of the file system.
if(CMAKE_HOST_WIN32)
  set(RUN_WINDOWS_PROGRAM "")
  set(WINE_DRIVE "")
else()
  set(RUN_WINDOWS_PROGRAM ${PROJECT_SOURCE_DIR}/scripts/run-windows.sh --private-display --fresh-prefix)
  set(WINE_DRIVE "Z:")
endif()

# Under Wine each such test has a screen and a fresh Wine prefix of its own,
# so that tests run side by side without meeting: no window, foreground or
# file of one is seen by another.
function(run_apart test)
  set_tests_properties(${test} PROPERTIES ENVIRONMENT GLIMRA_WINEPREFIX=${PROJECT_BINARY_DIR}/wine/${test})
endfunction()

# No build time in any PE file (header and export directory stamps are 0), so
# that the same sources give the same bytes.
add_link_options(-Wl,--no-insert-timestamp)

# The DLL and the reference host land side by side, as a user would put them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)

# The plug-in imports the host's functions by name from "tarvex.exe".
set(TARVEX_IMPORT_LIBRARY ${PROJECT_BINARY_DIR}/libtarvex_imports.a)
add_custom_command(
  OUTPUT ${TARVEX_IMPORT_LIBRARY}
  COMMAND ${CMAKE_DLLTOOL} -D tarvex.exe -d ${PROJECT_SOURCE_DIR}/plugin/tarvex.def
          -l ${TARVEX_IMPORT_LIBRARY}
  DEPENDS ${PROJECT_SOURCE_DIR}/plugin/tarvex.def
  COMMENT "Making the import library for tarvex.exe")
add_custom_target(tarvex_imports DEPENDS ${TARVEX_IMPORT_LIBRARY})

# A small, self-contained DLL: no exceptions, no RTTI, unused sections dropped,
# and the compiler's own runtime linked in, so it needs only system DLLs and the host.
# The display's Windows code, built into the DLL and into glimra-check's preview.
set(GLIMRA_DISPLAY_SOURCES ${PROJECT_SOURCE_DIR}/display/display_window.cpp
                           ${PROJECT_SOURCE_DIR}/display/outlined_text.cpp
                           ${PROJECT_SOURCE_DIR}/display/screen_density.cpp
                           ${PROJECT_SOURCE_DIR}/display/accessibility.cpp
                           ${PROJECT_SOURCE_DIR}/display/accessible_objects.cpp
                           ${PROJECT_SOURCE_DIR}/plugin/module_state.cpp)
add_library(glimra SHARED
  ${GLIMRA_PORTABLE_SOURCES}
  ${GLIMRA_DISPLAY_SOURCES}
  plugin/plugin.cpp
  settings/module_path_windows.cpp
  plugin/GLIMRA.def
  plugin/GLIMRA.rc)
set_target_properties(glimra PROPERTIES OUTPUT_NAME GLIMRA PREFIX "" SUFFIX ".dll")
target_include_directories(glimra PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(glimra PRIVATE -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                                      -ffunction-sections -fdata-sections)
target_link_options(glimra PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
# DllMain is the DLL's entry itself. The C runtime's start-up code (thread-local
# storage, static constructors, relocations of imported data) would serve
# nothing: the plug-in has no static constructor and imports no data, and the
# link fails if it ever does. It was half of the DLL's size.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(GLIMRA_ENTRY _DllMain@12)
else()
  set(GLIMRA_ENTRY DllMain)
endif()
target_link_options(glimra PRIVATE -nostartfiles -Wl,-e,${GLIMRA_ENTRY} -Wl,--disable-runtime-pseudo-reloc)
add_dependencies(glimra tarvex_imports)
# uuid holds the interfaces' identifiers as constants; it imports nothing.
target_link_libraries(glimra PRIVATE ${TARVEX_IMPORT_LIBRARY} user32 gdi32 kernel32 uuid)

add_test(NAME dll.tables-version-size
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/dll/check_dll.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:glimra>)

add_subdirectory(host)
add_subdirectory(tests/e2e)
add_subdirectory(tools/glimra-check)
add_subdirectory(tools/exit-witness)
add_subdirectory(bench)
add_subdirectory(tests/soak)

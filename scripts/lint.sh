#!/usr/bin/env bash
# Checks formatting and runs clang-tidy over the project's own sources: the
# window-free ones as built natively, the Windows ones as cross-built for x64.
set -eu
cd "$(dirname "$0")/.."
for preset in native mingw-x64; do
  [ -f "build/$preset/compile_commands.json" ] || cmake --preset "$preset" >/dev/null
done

sources=$(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror $sources

native_sources=$(git ls-files 'settings/settings.cpp' 'plugin/plugin_info.cpp' 'tests/unit/*.cpp' 'tools/*.cpp' ':!*_windows.cpp' 'bench/settings_benchmark.cpp')
windows_sources=$(git ls-files 'plugin/plugin.cpp' 'plugin/module_state.cpp' 'settings/module_path_windows.cpp' 'tools/*_windows.cpp' 'display/*.cpp' 'host/*.cpp' 'tests/e2e/*.cpp' 'tests/soak/*.cpp' 'bench/display_benchmark.cpp')

gcc_version=$(x86_64-w64-mingw32-g++-posix -dumpversion)
cxx_include=/usr/lib/gcc/x86_64-w64-mingw32/$gcc_version/include/c++
status=0
clang-tidy --quiet -p build/native $native_sources 2>/dev/null || status=1
clang-tidy --quiet -p build/mingw-x64 --extra-arg=--target=x86_64-w64-mingw32 \
  --extra-arg=-isystem$cxx_include --extra-arg=-isystem$cxx_include/x86_64-w64-mingw32 \
  $windows_sources 2>/dev/null || status=1
exit $status

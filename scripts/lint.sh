#!/usr/bin/env bash
# Checks formatting and runs clang-tidy over the project's own sources: the
# files that git tracks among those the compile databases list, the Windows
# ones as cross-built for x64, the rest as built natively, as many at a time
# as there are processors.
set -eu
cd "$(dirname "$0")/.."
for preset in native mingw-x64 fuzz; do
  [ -f "build/$preset/compile_commands.json" ] || cmake --preset "$preset" >/dev/null
done

# An assignment, so that a failing git stops the script instead of leaving
# nothing to check.
tracked=$(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror $tracked

# The sources a compile database lists that are the project's own.
own_sources() { # PRESET
  sed -n 's|^ *"file": "'"$PWD"'/\(.*\)",*$|\1|p' "build/$1/compile_commands.json" | sort -u |
    comm -12 - <(grep '\.cpp$' <<<"$tracked" | sort)
}
windows_sources=$(comm -23 <(own_sources mingw-x64) <(own_sources native))
native_sources=$(own_sources native)
fuzz_sources=$(comm -23 <(own_sources fuzz) <(own_sources native))

gcc_version=$(x86_64-w64-mingw32-g++-posix -dumpversion)
cxx_include=/usr/lib/gcc/x86_64-w64-mingw32/$gcc_version/include/c++
tidy() { # PRESET [EXTRA ARGUMENTS...]: reads the files on standard input
  xargs -r -n 1 -P "$(nproc)" clang-tidy --quiet -p "build/$1" "${@:2}" 2>/dev/null
}
status=0
tidy native <<<"$native_sources" || status=1
tidy fuzz <<<"$fuzz_sources" || status=1
tidy mingw-x64 --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-isystem$cxx_include \
  --extra-arg=-isystem$cxx_include/x86_64-w64-mingw32 <<<"$windows_sources" || status=1
exit $status

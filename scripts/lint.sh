#!/usr/bin/env bash
# Checks formatting and runs clang-tidy over the project's own sources: the
# files that git tracks among those the compile databases list, the Windows
# ones as cross-built for x64, the rest as built natively, as many at a time
# as there are processors. Each file is checked once for each distinct way a
# database compiles it (tests/, fuzz/ and bench/ without clang's static
# analyzer, as their .clang-tidy says).
set -euo pipefail
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
# Each list an assignment of its own: a database that cannot be read stops the
# script, where inside <(...) it would leave a list empty, unchecked.
native_sources=$(own_sources native)
x64_sources=$(own_sources mingw-x64)
clang_sources=$(own_sources fuzz)
windows_sources=$(comm -23 <(echo "$x64_sources") <(echo "$native_sources"))
fuzz_sources=$(comm -23 <(echo "$clang_sources") <(echo "$native_sources"))

# A database lists a source once for each target that builds it, and
# clang-tidy checks it once for each entry, so that a file that two targets
# build alike was checked twice. build/lint/PRESET has each preset's entries
# with those alike (the same directory, file and command but for its output)
# given once; entries that compile a file differently all stay.
distinct_entries() { # PRESET
  mkdir -p "build/lint/$1"
  awk '
    /^\[$|^\]$/ { next }
    /^\{$/ { entry = ""; key = ""; has_command = 0; next }
    /^\},?$/ {
      if (!has_command) key = "entry " NR
      if (!(key in seen)) printf "%s{\n%s\n}", (entries++ ? ",\n" : "[\n"), entry
      seen[key] = 1
      next
    }
    {
      line = $0
      sub(/,$/, "", line)
      entry = entry (entry == "" ? "" : ",\n") line
      if (line ~ /^ *"command": /) { has_command = 1; gsub(/ -o [^ ]+/, "", line); key = key line }
      else if (line ~ /^ *"(directory|file)": /) key = key line
    }
    END { print entries ? "\n]" : "[]" }
  ' "build/$1/compile_commands.json" >"build/lint/$1/compile_commands.json"
}
for preset in native mingw-x64 fuzz; do distinct_entries "$preset"; done

gcc_version=$(x86_64-w64-mingw32-g++-posix -dumpversion)
cxx_include=/usr/lib/gcc/x86_64-w64-mingw32/$gcc_version/include/c++
tidy() { # PRESET [EXTRA ARGUMENTS...]: reads the files on standard input
  xargs -r -n 1 -P "$(nproc)" clang-tidy --quiet -p "build/lint/$1" "${@:2}" 2>/dev/null
}
status=0
tidy native <<<"$native_sources" || status=1
tidy fuzz <<<"$fuzz_sources" || status=1
tidy mingw-x64 --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-isystem$cxx_include \
  --extra-arg=-isystem$cxx_include/x86_64-w64-mingw32 <<<"$windows_sources" || status=1
exit $status

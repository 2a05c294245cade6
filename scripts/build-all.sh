#!/usr/bin/env bash
# Configures and builds every preset here: native, native with sanitizers,
# the fuzzer (clang), x64 and x86 Windows.
set -eu
cd "$(dirname "$0")/.."
for preset in native native-asan fuzz mingw-x64 mingw-x86; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

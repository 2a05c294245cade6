#!/usr/bin/env bash
# Prints the performance figures: the x64 DLL's display path and start under
# Wine on a private virtual screen, both DLLs' sizes, and the settings
# reader's cost per line natively.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in native-release mingw-x64 mingw-x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
echo "== DLL sizes (with version resource)"
ls -l build/mingw-x86/bin/GLIMRA.dll build/mingw-x64/bin/GLIMRA.dll | awk '{print $5, "bytes", $NF}'
echo "== display under Wine (x64)"
GLIMRA_WINEPREFIX=$PWD/build/mingw-x64/wineprefix scripts/run-windows.sh --private-display \
  build/mingw-x64/bench/tarvex.exe --plugin "Z:$PWD/build/mingw-x64/bin/GLIMRA.dll" --texts 10000 |
  tr -d '\r'
echo "== settings reader (native)"
build/native-release/bench/settings_benchmark --benchmark_min_time=0.2

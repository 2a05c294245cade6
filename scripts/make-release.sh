#!/usr/bin/env bash
# Builds both DLLs and packs build/release/glimra-1.0.zip: the x86 and x64
# GLIMRA.dll, the settings checker, a commented sample settings file and the
# user guide.
set -eu
cd "$(dirname "$0")/.."
for preset in mingw-x86 mingw-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target glimra glimra-check
done
stage=build/release/glimra-1.0
rm -rf "$stage" build/release/glimra-1.0.zip
mkdir -p "$stage/x86" "$stage/x64"
cp build/mingw-x86/bin/GLIMRA.dll "$stage/x86/"
cp build/mingw-x64/bin/GLIMRA.dll "$stage/x64/"
cp build/mingw-x86/bin/glimra-check.exe "$stage/"
cp release/glimrarc release/USER-GUIDE.txt "$stage/"
# Windows users open these in Notepad: CRLF line ends.
sed -i 's/$/\r/' "$stage/glimrarc" "$stage/USER-GUIDE.txt"
(cd build/release && zip -q -r -X glimra-1.0.zip glimra-1.0)
echo "Made build/release/glimra-1.0.zip:"
unzip -l build/release/glimra-1.0.zip

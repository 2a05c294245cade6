#!/usr/bin/env bash
# Builds everything, then runs the reference host with the fresh x64 GLIMRA.dll
# under Wine: it shows "Glimra", then a few texts, and saves a screenshot of the
# screen's top-left corner as screenshots/glimra-demo.png. Uses your display
# when DISPLAY is set, otherwise a private virtual one.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build-all.sh
mkdir -p screenshots
bin=$(pwd)/build/mingw-x64/bin
(
  cd screenshots
  export GLIMRA_WINEPREFIX="$bin/../wineprefix"
  ../scripts/run-windows.sh "$bin/tarvex.exe" --pause 2000 --backdrop 8C5A2D --screenshot glimra-demo.bmp \
    "Hello from tarvex" "Bold and outlined" "See-through, on top"
)
convert screenshots/glimra-demo.bmp screenshots/glimra-demo.png
rm -f screenshots/glimra-demo.bmp
echo "Saved screenshots/glimra-demo.png"

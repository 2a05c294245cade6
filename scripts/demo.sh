#!/usr/bin/env bash
# Builds everything, then runs the reference host with the fresh x64 GLIMRA.dll
# under Wine: it shows "Glimra", then a few texts, and saves a screenshot of the
# screen's top-left corner as screenshots/glimra-demo.png; then glimra-check's
# preview of a settings file, saved as screenshots/glimra-preview.png. Uses
# your display when DISPLAY is set, otherwise a private virtual one.
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

# glimra-check's preview of settings other than the defaults, over whatever
# the screen shows: a white virtual screen when DISPLAY is not set.
root=$(pwd)
settings=$(mktemp -d)
printf 'GLIMRA.timeout 2000\nGLIMRA.fontHeight 60\nGLIMRA.clrOSD 00D7FF\nGLIMRA.clrOutline 5A1E00\n' >"$settings/glimrarc"
(
  cd "$settings"
  export GLIMRA_WINEPREFIX="$bin/../wineprefix"
  "$root/scripts/run-windows.sh" "$bin/glimra-check.exe" --show --text "Try your settings" \
    --screenshot glimra-preview.bmp
)
convert "$settings/glimra-preview.bmp" screenshots/glimra-preview.png
rm -rf "$settings"
echo "Saved screenshots/glimra-preview.png"

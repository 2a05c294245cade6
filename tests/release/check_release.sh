#!/usr/bin/env bash
# Checks the release ZIP as a user gets it: its sums and entries, both DLLs
# (tables, version, size), the sample settings file (read as the defaults, no
# warnings), and each DLL beside the reference host of its architecture,
# showing a text under Wine, and the Windows build of glimra-check on such a
# folder and previewing settings. Last, the ZIP made again elsewhere: the same.
set -u
cd "$(dirname "$0")/../.."
zip=${1:-build/release/glimra-1.0.zip}
# The time that make-release.sh gives the entries; a DLL may carry it too.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() { # NAME COMMAND...
  local name=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1))
  else
    echo "FAIL: $name"
    cat "$work/out"
    failed=$((failed + 1))
  fi
}

unzip -q "$zip" -d "$work" || { echo "FAIL: cannot unpack $zip"; exit 1; }
root=$work/glimra-1.0
check "x86 DLL" bash tests/dll/check_dll.sh i686-w64-mingw32-objdump "$root/x86/GLIMRA.dll"
check "x64 DLL" bash tests/dll/check_dll.sh x86_64-w64-mingw32-objdump "$root/x64/GLIMRA.dll"
check "user guide" test -s "$root/USER-GUIDE.txt"
check "checker" test -s "$root/glimra-check.exe"

sums_match() { # FOLDER NAME...: its SHA256SUMS lists these names, and their sums
  cat "$1/SHA256SUMS"
  [ "$(cut -d ' ' -f 3- "$1/SHA256SUMS")" = "$(printf '%s\n' "${@:2}")" ] &&
    (cd "$1" && sha256sum -c --strict SHA256SUMS)
}
check "SHA256SUMS beside the ZIP" sums_match "$(dirname "$zip")" "$(basename "$zip")"
check "SHA256SUMS in the ZIP" sums_match "$root" x86/GLIMRA.dll x64/GLIMRA.dll glimra-check.exe
# What a second packing on the same machine would repeat: the order that the
# file system lists names in, and the packer's owner in extra fields.
# zipinfo's own status counts: read apart, so that no pipe hides it.
entries_sorted_and_plain() {
  local names details
  names=$(zipinfo -1 "$zip") && details=$(zipinfo -v "$zip") || return 1
  LC_ALL=C sort -c <<<"$names" && ! grep -E 'length of extra field: +[1-9]' <<<"$details"
}
check "ZIP entries in name order, without extra fields" entries_sorted_and_plain

checker=build/native/tools/glimra-check/glimra-check
sample_reads_defaults() {
  local output
  output=$("$checker" "$root/glimrarc") || return 1
  grep -q '^timeout     3000 ms$' <<<"$output" && grep -q '^fontHeight  75 ' <<<"$output" &&
    grep -q '^clrOSD      FFFFFF ' <<<"$output" && grep -q '^clrOutline  010101 ' <<<"$output" &&
    grep -q "^position    the screen's top-left corner, the default " <<<"$output"
}
check "sample settings are the defaults, without warnings" sample_reads_defaults

# A user's folder: the reference host of one architecture and the DLL for it
# from the ZIP, nothing else.
shows_text_beside_host() { # ARCHITECTURE
  local architecture=$1 runner=$PWD/scripts/run-windows.sh
  local user=$work/user-$architecture
  export GLIMRA_WINEPREFIX=$PWD/build/mingw-$architecture/wineprefix
  mkdir -p "$user"
  cp "build/mingw-$architecture/bin/tarvex.exe" "$root/$architecture/GLIMRA.dll" "$user/"
  (cd "$user" && "$runner" --private-display ./tarvex.exe --pause 800 --backdrop 8C5A2D \
    --screenshot shot.bmp "From the release") >"$work/host.log" 2>&1
  local status=$?
  tr -d '\r' <"$work/host.log"
  [ "$status" -eq 0 ] && tr -d '\r' <"$work/host.log" | grep -q -x 'text: From the release (1 window(s))' || return 1
  local white
  white=$(convert "$user/shot.bmp" -fill black +opaque white -fill white -opaque white \
    -format '%[fx:round(mean*w*h)]' info:)
  echo "white letter pixels on screen: $white"
  [ "$white" -gt 300 ]
}
for architecture in x86 x64; do
  check "$architecture DLL shows a text beside the $architecture reference host" \
    shows_text_beside_host "$architecture"
  cat "$work/out"
done

# glimra-check.exe from the ZIP, under Wine, on a user's folder: its exit
# status and a line of what it says.
checker_says() { # FOLDER STATUS PATTERN
  GLIMRA_WINEPREFIX=$PWD/build/mingw-x86/wineprefix scripts/run-windows.sh --private-display \
    "$root/glimra-check.exe" "Z:$1" >"$work/checker.log" 2>&1
  local status=$?
  tr -d '\r' <"$work/checker.log"
  [ "$status" -eq "$2" ] && tr -d '\r' <"$work/checker.log" | grep -q -E "$3"
}
check "glimra-check.exe recognises the x86 pair" \
  checker_says "$work/user-x86" 2 '^GLIMRA.dll: .*: 32-bit \(x86\) DLL, product Glimra, file version 1.0'
mkdir -p "$work/mismatch"
cp "build/mingw-x86/bin/tarvex.exe" "$root/x64/GLIMRA.dll" "$work/mismatch/"
check "glimra-check.exe warns of the x64 DLL beside an x86 host" \
  checker_says "$work/mismatch" 1 '^warning: tarvex.exe is 32-bit \(x86\); this GLIMRA.dll is 64-bit \(x64\)'

# The preview of glimra-check.exe from the ZIP on a user's settings: its
# report, the text on screen in the file's colour, and the exit status it
# also has without --show (here 1: letters and outline of one colour).
mkdir -p "$work/preview"
printf 'GLIMRA.timeout 800\r\nGLIMRA.clrOSD 0000FF\r\nGLIMRA.clrOutline 0000FF\r\n' >"$work/preview/glimrarc"
previews_settings() {
  local runner=$PWD/scripts/run-windows.sh prefix=$PWD/build/mingw-x86/wineprefix
  (cd "$work/preview" && GLIMRA_WINEPREFIX=$prefix "$runner" --private-display "$root/glimra-check.exe" \
    --show --text "From the release" --screenshot shot.bmp) >"$work/preview.log" 2>&1
  local status=$? red
  tr -d '\r' <"$work/preview.log"
  red=$(convert "$work/preview/shot.bmp" -fill black +opaque red -fill white -opaque red \
    -format '%[fx:round(mean*w*h)]' info:)
  echo "exit status $status; red letter pixels on screen: $red"
  [ "$status" -eq 1 ] && [ "$red" -gt 300 ] &&
    tr -d '\r' <"$work/preview.log" | grep -q -x 'preview: "From the release" for 800 ms' &&
    tr -d '\r' <"$work/preview.log" | grep -q -x 'preview: hidden'
}
check "glimra-check.exe --show shows a user's settings" previews_settings
cat "$work/out"
check "glimra-check.exe without --show: the same exit status" \
  checker_says "$work/preview" 1 '^warning: letters and outline are both 0000FF'

# The ZIP made again from a copy of these sources at another path, built
# afresh, later, under another umask: the same bytes.
packs_the_same_elsewhere() {
  local copy=$work/elsewhere/glimra
  local again=$copy/build/release/glimra-1.0.zip
  mkdir -p "$copy" && git ls-files -z --cached --others --exclude-standard >"$work/sources" &&
    xargs -0 cp --parents -t "$copy" <"$work/sources" || return 1
  (cd "$copy" && umask 077 && scripts/make-release.sh) || return 1
  cmp "$zip" "$again" || { diff <(zipinfo -v "$zip" | tail -n +2) <(zipinfo -v "$again" | tail -n +2); false; }
}
check "the ZIP made again elsewhere is the same, byte for byte" packs_the_same_elsewhere

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Runs the Windows glimra-check.exe on a cut-short GLIMRA.dll beside the
# tarvex.exe of its own build, and on a screen of 120 dots per inch. The last
# section is cut off and its end pushed past 4 GB, where a 32-bit sum of offset
# and size wraps to a few hundred bytes and the file would read as whole.
#
#   checker_exe_test.sh BIN_DIR [RUNNER...]
#
# BIN_DIR holds glimra-check.exe, GLIMRA.dll and tarvex.exe; RUNNER starts a
# Windows program (empty on Windows).
set -u
bin=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/cut" && cp "$bin/GLIMRA.dll" "$bin/tarvex.exe" "$work/cut/"
dll=$work/cut/GLIMRA.dll

u32() { od -An -t u4 -j "$1" -N 4 "$dll" | tr -d ' '; }
u16() { od -An -t u2 -j "$1" -N 2 "$dll" | tr -d ' '; }
coff=$(($(u32 60) + 4))
optional_size=$(u16 $((coff + 16)))
section_count=$(u16 $((coff + 2)))
last_section=$((coff + 20 + optional_size + (section_count - 1) * 40))
raw_offset=$(u32 $((last_section + 20)))
machine=x86
[ "$(u16 "$coff")" = 34404 ] && machine=x64
raw_size=$(((1 << 32) + 512 - raw_offset))
perl -e 'print pack("V", shift)' "$raw_size" |
  dd of="$dll" bs=1 seek=$((last_section + 16)) conv=notrunc status=none
truncate -s "$raw_offset" "$dll"

# A relative folder: the same path under Wine as on Windows.
output=$(cd "$work" && "$@" "$bin/glimra-check.exe" cut 2>&1)
status=$?
output=${output//$'\r'/} # Windows line ends
printf '%s\n' "$output"
wanted="^warning: GLIMRA.dll is cut short: it has $raw_offset of its 4294967808 bytes: replace it with $machine\\\\GLIMRA.dll from the release\$"
if [ "$status" -ne 1 ] || ! grep -q -E -- "$wanted" <<<"$output"; then
  echo "FAIL: exit $status (expected 1); no line matching '$wanted'"
  exit 1
fi

# The font, window and place in the screen's own pixels, under Wine set to
# 120 dots per inch in a fresh prefix. Wine 8 shows every program the screen
# as it is; from 9 on, as Windows 10 does, a host that is not DPI-aware sees
# 96 and is stretched, and the display is drawn at 120 at the stretched size:
# 800 x 102 times 1.25, at the bottom-right of the 1024 x 768 screen.
if [ $# -gt 0 ]; then
  printf 'GLIMRA.position bottom-right\n' >"$work/cut/glimrarc"
  output=$(cd "$work/cut" && GLIMRA_WINE_DPI=120 "$@" "$bin/glimra-check.exe" . 2>&1)
  output=${output//$'\r'/}
  printf '%s\n' "$output"
  case "$(wine --version)" in
  wine-[0-8].*) wanted=('window 800 x 120\)$' '224,648') ;;
  *) wanted=('window 1000 x 128\)$' '24,640' '^ +the host sees 96 dots per inch') ;;
  esac
  wanted[0]="^fontHeight  75  \\(90 pixels at this screen.s 120 dots per inch; ${wanted[0]}"
  wanted[1]="^position    bottom-right  \\(window ${wanted[1]} to 1024,768 in this screen.s work area 0,0 to 1024,768\\)$"
  for line in "${wanted[@]}"; do
    if ! grep -q -E -- "$line" <<<"$output"; then
      echo "FAIL: no line matching '$line'"
      exit 1
    fi
  done
fi
echo "passed"

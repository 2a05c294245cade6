#!/usr/bin/env bash
# Runs an x64 Windows program under Wine and passes its exit status through.
#
#   scripts/run-windows.sh [--private-display] PROGRAM.exe [ARGUMENTS...]
#
# The Wine prefix is private to the build ($GLIMRA_WINEPREFIX, by default
# build/wineprefix) and booted once. The program shows on $DISPLAY when that is
# set, unless --private-display is given; otherwise on a virtual X server that
# this script starts and stops. No Wine or X process is left behind.
set -u

here=$(cd "$(dirname "$0")" && pwd)
private_display=false
if [ "${1:-}" = "--private-display" ]; then
  private_display=true
  shift
fi
[ $# -ge 1 ] || { echo "usage: $0 [--private-display] PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }

# Only x64 programs can run here: without wine32, Wine quietly exits 0 on an x86 one.
pe_machine() {
  local header_offset
  header_offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header_offset" ] && od -An -t x2 -j $((header_offset + 4)) -N 2 "$1" | tr -d ' '
}
if [ "$(pe_machine "$1")" != "8664" ]; then
  echo "run-windows: $1 is not an x64 Windows program; only x64 programs run here" >&2
  exit 126
fi

export WINEPREFIX=$(realpath -m "${GLIMRA_WINEPREFIX:-$here/../build/wineprefix}")
export WINEDEBUG=${GLIMRA_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
run_timeout=${GLIMRA_WINE_TIMEOUT:-900}

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if $private_display || [ -z "${DISPLAY:-}" ]; then
  # White root; -displayfd picks a free display number and tells it.
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -wr -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  display_number=$(head -n 1 "$display_file")
  rm -f "$display_file"
  [ -n "$display_number" ] || { echo "run-windows: Xvfb did not start" >&2; exit 125; }
  export DISPLAY=":$display_number"
fi

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run-windows: booting the Wine prefix $WINEPREFIX" >&2
    wine wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
) 9>"$WINEPREFIX.lock"

timeout --kill-after=10 "$run_timeout" wine "$@"
status=$?
[ "$status" -eq 124 ] && echo "run-windows: $1 ran longer than ${run_timeout}s and was stopped" >&2
exit "$status"

#!/usr/bin/env bash
# Runs an x86 or x64 Windows program under Wine and passes its exit status through.
#
#   scripts/run-windows.sh [--private-display] [--fresh-prefix] PROGRAM.exe [ARGUMENTS...]
#   scripts/run-windows.sh --boot-template
#
# The Wine prefix is private to the build ($GLIMRA_WINEPREFIX, by default
# build/wineprefix). Prefixes are not booted one by one: one prefix,
# build/wineprefix-template, is booted once for this Wine, and every other is
# a copy of it (hard links for its files, real copies of the registry, which
# Wine rewrites); --fresh-prefix makes that copy anew for this run, so that
# runs side by side, each with a prefix of its own, start alike and do not
# meet; GLIMRA_WINE_DPI, when set, gives a copy made for this run a screen of
# that many dots per inch instead of 96. The program shows on $DISPLAY when
# that is set, unless --private-display is given; otherwise on a virtual X
# server that this script starts and stops, with the window manager that
# GLIMRA_WINDOW_MANAGER names (such as openbox) when that is set. No Wine or X
# process is left behind. --boot-template only boots the template, if it needs
# it, and runs nothing: booting takes long where 32-bit Wine runs on an
# emulator, and tests should not wait for it.
set -u

here=$(cd "$(dirname "$0")" && pwd)
loader=wine
private_display=false
fresh_prefix=false
boot_only=false
while [ $# -gt 0 ]; do
  case "$1" in
  --private-display) private_display=true ;;
  --fresh-prefix) fresh_prefix=true ;;
  --boot-template) boot_only=true private_display=true ;;
  *) break ;;
  esac
  shift
done
$boot_only || [ $# -ge 1 ] || { echo "usage: $0 [--private-display] [--fresh-prefix] PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }

# Anything but an x86 or x64 Windows program is refused: Wine would run a
# program it cannot load as a quiet exit 0, and a test would seem to pass.
pe_machine() {
  local header_offset
  header_offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header_offset" ] && od -An -t u2 -j $((header_offset + 4)) -N 2 "$1" | tr -d ' '
}
if ! $boot_only; then
  case "$(pe_machine "$1")" in
  34404) # x64: IMAGE_FILE_MACHINE_AMD64, 0x8664
    # Debian's wine wrapper prefers the 32-bit loader whenever the 32-bit Wine
    # is installed, and that loader only hands an x64 program on to the
    # 64-bit one: on an emulated x86, a start through the emulator for nothing.
    [ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
    ;;
  332)   # x86: IMAGE_FILE_MACHINE_I386, 0x14C
    # x86 needs the 32-bit Wine; scripts/install-deps.sh installs it.
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
      echo "run-windows: $1 is an x86 program, but 32-bit Wine does not run here; run scripts/install-deps.sh" >&2
      exit 126
    fi
    # Tests learn that their 32-bit Wine runs on an emulator, which some
    # things (Ctrl+C in a console) do not survive.
    if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
      export GLIMRA_X86_EMULATOR=qemu-i386
    fi
    ;;
  *)
    echo "run-windows: $1 is not an x86 or x64 Windows program" >&2
    exit 126
    ;;
  esac
fi

export WINEPREFIX=$(realpath -m "${GLIMRA_WINEPREFIX:-$here/../build/wineprefix}")
export WINEDEBUG=${GLIMRA_WINEDEBUG:--all}
# No installer dialog and no crash debugger may wait for a person.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
run_timeout=${GLIMRA_WINE_TIMEOUT:-900}

xvfb_pid=
window_manager_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1
  if [ -n "$window_manager_pid" ]; then
    kill "$window_manager_pid" 2>/dev/null
    wait "$window_manager_pid" 2>/dev/null
  fi
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
  # Users who run a host under Wine have a window manager, which stacks and
  # activates windows its own way: GLIMRA_WINDOW_MANAGER=openbox gives the
  # private screen one, ready before the program starts.
  if [ -n "${GLIMRA_WINDOW_MANAGER:-}" ]; then
    ready_file=$(mktemp -u)
    "$GLIMRA_WINDOW_MANAGER" --sm-disable --startup "touch $ready_file" >/dev/null 2>&1 &
    window_manager_pid=$!
    for _ in $(seq 100); do
      [ -e "$ready_file" ] && break
      sleep 0.1
    done
    [ -e "$ready_file" ] || { echo "run-windows: $GLIMRA_WINDOW_MANAGER did not start" >&2; exit 125; }
    rm -f "$ready_file"
  fi
fi

template=$(realpath -m "$here/../build/wineprefix-template")
wine_version=$(wine --version)
mkdir -p "$(dirname "$template")" "$(dirname "$WINEPREFIX")"
(
  flock 9
  # Booted again for another Wine, or when booted without the 32-bit Wine,
  # which leaves out the 32-bit system DLLs and then runs nothing at all.
  if [ -f "$template/system.reg" ] &&
    { [ ! -f "$template/drive_c/windows/syswow64/kernel32.dll" ] ||
      [ "$(cat "$template.version" 2>/dev/null)" != "$wine_version" ]; }; then
    echo "run-windows: booting the Wine prefix template again for $wine_version" >&2
    rm -rf "$template"
  fi
  if [ ! -f "$template/system.reg" ]; then
    echo "run-windows: booting the Wine prefix template $template" >&2
    WINEPREFIX=$template wine wineboot --init >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    echo "$wine_version" >"$template.version"
  fi
) 9>"$template.lock"
$boot_only && exit 0
(
  flock 9
  if $fresh_prefix || [ ! -f "$WINEPREFIX/system.reg" ] ||
    [ "$(cat "$WINEPREFIX.version" 2>/dev/null)" != "$wine_version" ]; then
    rm -rf "$WINEPREFIX" "$WINEPREFIX.copy"
    cp -al "$template" "$WINEPREFIX.copy"
    for registry in "$WINEPREFIX.copy"/*.reg; do
      cp --remove-destination "$template/$(basename "$registry")" "$registry"
    done
    # Wine from 9 on, like Windows, shows that density only to programs that
    # declare themselves DPI-aware; to others the screen has 96.
    if [ -n "${GLIMRA_WINE_DPI:-}" ]; then
      sed -i "s/^\"LogPixels\"=dword:.*/\"LogPixels\"=dword:$(printf %08x "$GLIMRA_WINE_DPI")/" \
        "$WINEPREFIX.copy"/*.reg
    fi
    mv "$WINEPREFIX.copy" "$WINEPREFIX"
    echo "$wine_version" >"$WINEPREFIX.version"
  fi
) 9>"$WINEPREFIX.lock"

report_timeout() {
  [ "$1" -eq 124 ] && echo "run-windows: $program ran longer than ${run_timeout}s and was stopped" >&2
}
program=$1
# Wine's server kills a process with SIGKILL when it is still there half a
# second after its last Windows thread ended, and an x86 program emulated on
# a busy machine can take that long to tear down. A caller that names the
# line its program's output ends with, GLIMRA_EXIT_LINE (an extended regular
# expression), has the program judged by what it did as a Windows program:
# run under exit-witness.exe, by its exit code as Windows saw it and, for 0,
# by that last line, as a program whose Unix process died before it ended
# also reads 0 there. Other runs are judged by the Unix process's status.
witness=$here/../build/mingw-x64/bin/exit-witness.exe
# GLIMRA_LOADER_WRAPPER, for the runner's own test, runs the loader under a
# command (strace holding the processes' exit back, say).
read -r -a loader_wrapper <<<"${GLIMRA_LOADER_WRAPPER:-}"
if [ -z "${GLIMRA_EXIT_LINE:-}" ] || [ ! -f "$witness" ] || [ ! -x /usr/lib/wine/wine64 ]; then
  timeout --kill-after=10 "$run_timeout" "${loader_wrapper[@]}" "$loader" "$@"
  status=$?
  report_timeout "$status"
  exit "$status"
fi
windows_path() { local path; path=$(realpath -m "$1") && echo "Z:${path//\//\\}"; }
exit_code_file=$(mktemp)
output_copy=$(mktemp)
trap 'rm -f "$exit_code_file" "$output_copy"; cleanup' EXIT
exec {output}> >(tee "$output_copy")
copying=$!
GLIMRA_EXIT_WITNESS=$(windows_path "$exit_code_file") timeout --kill-after=10 "$run_timeout" \
  "${loader_wrapper[@]}" /usr/lib/wine/wine64 "$witness" "$(windows_path "$program")" "${@:2}" >&"$output"
status=$?
# Wine's own background processes hold the output too: the copy is whole once they end.
wineserver -k >/dev/null 2>&1
exec {output}>&-
wait "$copying"
report_timeout "$status"
exit_code=$(tr -d '\r\n' <"$exit_code_file")
if [ -z "$exit_code" ]; then
  echo "run-windows: $program never ended as a Windows program (status $status)" >&2
  exit "$status"
elif [ "$exit_code" -ne 0 ]; then
  [ "$status" -eq "$((exit_code % 256))" ] ||
    echo "run-windows: $program ended with exit code $exit_code as Windows saw it" >&2
  [ "$exit_code" -le 255 ] && exit "$exit_code"
  exit 1
fi
last_line=$(tr -d '\r' <"$output_copy" | awk 'NF { line = $0 } END { print line }')
if ! grep -qE -- "$GLIMRA_EXIT_LINE" <<<"$last_line"; then
  echo "run-windows: $program ended with exit code 0 as Windows saw it, but its output ends" \
    "with \"$last_line\", not a line like /$GLIMRA_EXIT_LINE/: it did not finish" >&2
  exit 1
fi
[ "$status" -eq 0 ] || echo "run-windows: $program ended with exit code 0 as Windows saw it and" \
  "its last line; the Unix process was then stopped with status $status as it exited" >&2
exit 0

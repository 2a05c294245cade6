#!/usr/bin/env bash
# Runs glimra-check on sample settings files and on folders holding the built
# DLLs and hosts, and compares what it prints and its exit status with what a
# user must see.
#
#   glimra_check_test.sh CHECKER SAMPLES_DIR X86_BIN_DIR X64_BIN_DIR
set -u
checker=$1 samples=$2
declare -A bin=([x86]=$3 [x64]=$4)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

# Runs the checker; leaves its output in $output and its exit status in $status.
run_checker() {
  output=$("$checker" "$@" 2>&1)
  status=$?
}

report() { # NAME OK DETAILS
  if [ "$2" = yes ]; then
    passed=$((passed + 1))
  else
    echo "FAIL: $1 $3"
    printf '%s\n' "$output" | head -30
    failed=$((failed + 1))
  fi
}

# expect NAME STATUS EXPECTED_FILE ARGS...: the output must equal the file's text.
expect() {
  local name=$1 wanted=$2 expected=$3
  shift 3
  run_checker "$@"
  local ok=no
  [ "$status" -eq "$wanted" ] && diff -u "$expected" <(printf '%s\n' "$output") >&2 && ok=yes
  report "$name" $ok "(exit $status, expected $wanted)"
}

# expect_line NAME STATUS PATTERN ARGS...: some line of the output must match.
expect_line() {
  local name=$1 wanted=$2 pattern=$3
  shift 3
  run_checker "$@"
  local ok=no
  [ "$status" -eq "$wanted" ] && grep -q -E -- "$pattern" <<<"$output" && ok=yes
  report "$name" $ok "(exit $status, expected $wanted; a line matching '$pattern')"
}

cd "$samples"
expect "clean file" 0 clean.expected clean.rc
expect "every kind of mistake" 1 mistakes.expected mistakes.rc
expect "empty file" 0 empty.expected empty.rc
expect "settings that leave nothing to see" 1 invisible.expected invisible.rc
expect "settings that are hard to read" 1 unreadable.expected unreadable.rc

# What the display will look like, said once: by the line when it can, else for the file.
effect() { # NAME SETTINGS COUNT WARNING: COUNT warnings in all, WARNING among them
  printf "$2" >"$work/effect.rc"
  run_checker "$work/effect.rc"
  local ok=no
  [ "$status" -eq 1 ] && [ "$(grep -c warning <<<"$output")" -eq "$3" ] && grep -q -x -- "$4" <<<"$output" && ok=yes
  report "$1" $ok "(exit $status; $3 warning(s), one of them '$4')"
}
effect "see-through letters" 'GLIMRA.clrOSD 100000000\n' 2 "warning: the letters are 000000, the see-through colour: only their outline shows"
effect "see-through outline" 'GLIMRA.clrOutline 1000000000\n' 2 "warning: the outline is 000000, the see-through colour: the letters have none"
effect "see-through letters, said once" 'GLIMRA.clrOSD 000000\n' 1 "line 1: warning: clrOSD is 000000, black, which is see-through"
effect "tiny letters" 'GLIMRA.fontHeight 5\n' 1 "warning: fontHeight 5 gives letters only 4 pixels tall: too small to read"

# The directory search: the plug-in's directory first, "glimrarc" before "glimra.rc".
mkdir -p "$work/plugin" "$work/host" "$work/nothing"
printf 'GLIMRA.timeout 1111\n' >"$work/plugin/glimra.rc"
printf 'GLIMRA.timeout 2222\n' >"$work/host/glimrarc"
expect_line "plug-in directory first" 0 "^settings file: $work/plugin/glimra.rc$" "$work/plugin" "$work/host"
expect_line "its value" 0 "^timeout +1111 ms$" "$work/plugin" "$work/host"
printf 'GLIMRA.timeout 3333\n' >"$work/plugin/glimrarc"
expect_line "glimrarc before glimra.rc" 0 "^timeout +3333 ms$" "$work/plugin" "$work/host"
expect_line "host directory second" 0 "^settings file: $work/host/glimrarc$" "$work/nothing" "$work/host"
expect_line "no file in either" 2 "^no settings file" "$work/nothing" "$work/nothing"
expect_line "defaults then" 2 "^timeout +3000 ms$" "$work/nothing"

# Files that are not what they should be: never a crash.
expect_line "missing file" 2 "cannot read .*missing.rc" "$work/missing.rc"
printf 'GLIMRA.timeout 7\0 junk\n\x01\xff\xfe\0\0\n' >"$work/binary.rc"
expect_line "binary file" 1 "^line 1: warning: contains a NUL byte" "$work/binary.rc"
{ printf 'GLIMRA.clrOSD '; head -c 5000 /dev/zero | tr '\0' '1'; printf '\n'; } >"$work/long.rc"
expect_line "very long line" 1 "^line 1: warning: is 5014 characters long: the plug-in reads only the first 1023$" "$work/long.rc"
expect_line "long line's value" 1 "^clrOSD +11111111 " "$work/long.rc"
expect_line "bad usage" 2 "^usage:" --help
expect_line "preview options without --show" 2 "^usage:" --text Hello clean.rc
run_checker --show --text Hello clean.rc
[ "$status" -eq 2 ] && [ "$output" = "glimra-check: --show needs Windows: run glimra-check.exe there" ]
report "no preview but on Windows" "$([ $? -eq 0 ] && echo yes)" "(exit $status, expected 2 and one line)"
printf 'GLIMRA.timeout 99999999999\nGLIMRA.fontHeight -3000000000\n' >"$work/range.rc"
expect_line "timeout beyond 32 bits" 1 "^line 1: warning: timeout 99999999999 is outside the 32-bit range" "$work/range.rc"
expect_line "its value not guessed" 1 "^timeout +outside the 32-bit range: depends on the C runtime$" "$work/range.rc"
expect_line "fontHeight beyond 32 bits" 1 "^fontHeight +outside the 32-bit range" "$work/range.rc"
expect_line "no window's corners then" 1 "^position +the screen's top-left corner, the default$" "$work/range.rc"

# The installation: the built DLLs and hosts of both machines, in every pairing.
for machine in x86 x64; do
  for file in GLIMRA.dll tarvex.exe glimra-check.exe; do
    [ -f "${bin[$machine]}/$file" ] || { echo "FAIL: no ${bin[$machine]}/$file: build the mingw-$machine preset first"; exit 1; }
  done
done
install() { # NAME FILE...: a fresh folder $work/NAME holding copies of the files
  local folder=$work/$1
  shift
  rm -rf "$folder" && mkdir -p "$folder" && cp "$@" "$folder/"
}
declare -A bits=([x86]=32 [x64]=64)
for dll in x86 x64; do
  for host in x86 x64; do
    install pair "${bin[$dll]}/GLIMRA.dll" "${bin[$host]}/tarvex.exe"
    if [ "$dll" = "$host" ]; then
      expect_line "$dll DLL beside $host host: no settings, no warning" 2 "^GLIMRA.dll: .*: ${bits[$dll]}-bit \($dll\) DLL, product Glimra, file version 1.0, exports beginPlugin, endPlugin, pluginInfo$" "$work/pair"
      expect_line "$dll DLL beside $host host: the host" 2 "^tarvex.exe: .*: ${bits[$host]}-bit \($host\) program$" "$work/pair"
    else
      expect_line "$dll DLL beside $host host" 1 "^warning: tarvex.exe is ${bits[$host]}-bit \($host\); this GLIMRA.dll is ${bits[$dll]}-bit \($dll\), which it cannot load: use $host\\\\GLIMRA.dll from the release$" "$work/pair"
    fi
  done
done
cp "$samples/clean.rc" "$work/pair/glimrarc"
expect_line "matching pair with clean settings" 0 "^settings file: " "$work/pair"
install plugin-only "${bin[x86]}/GLIMRA.dll"
expect_line "DLL alone: a note" 2 "^note: no tarvex.exe in " "$work/plugin-only"
install host-only "${bin[x64]}/tarvex.exe"
expect_line "host alone: a note naming its DLL" 2 "^note: no GLIMRA.dll in .*: put x64\\\\GLIMRA.dll from the release there$" "$work/host-only"

# DLLs that are not what they should be, beside a 32-bit host.
broken() { # NAME PATTERN: the DLL in $work/broken/GLIMRA.dll must get the warning
  cp "${bin[x86]}/tarvex.exe" "$work/broken/"
  expect_line "$1" 1 "^warning: GLIMRA.dll $2.*: replace it with x86\\\\GLIMRA.dll from the release$" "$work/broken"
}
install broken "${bin[x86]}/GLIMRA.dll"
truncate -s 4000 "$work/broken/GLIMRA.dll"
broken "truncated DLL" "is cut short: it has 4000 of its $(stat -c %s "${bin[x86]}/GLIMRA.dll") bytes"
install broken "$samples/clean.rc" && mv "$work/broken/clean.rc" "$work/broken/GLIMRA.dll"
broken "text file named GLIMRA.dll" "is not a Windows DLL"
# A program stripped of its symbols, as a DLL is, has flags close to a DLL's.
for program in "${bin[x64]}/tarvex.exe" "${bin[x86]}/glimra-check.exe"; do
  install broken "$program" && mv "$work/broken/$(basename "$program")" "$work/broken/GLIMRA.dll"
  broken "$(basename "$program") named GLIMRA.dll" "is a Windows program, not a DLL"
done
install broken "${bin[x86]}/GLIMRA.dll"
perl -pi -e 's/G\0l\0i\0m\0r\0a\0/G\0l\0i\0m\0r\0x\0/g' "$work/broken/GLIMRA.dll"
broken "another DLL under the name" "is not Glimra: no version resource names it"
# The export directory's address is the first entry after a PE32 optional header's 96 bytes.
install broken "${bin[x86]}/GLIMRA.dll"
header=$(od -An -t u4 -j 60 -N 4 "$work/broken/GLIMRA.dll" | tr -d ' ')
printf '\x00\xff\xff\x7f' | dd of="$work/broken/GLIMRA.dll" bs=1 seek=$((header + 24 + 96)) conv=notrunc status=none
broken "export directory past the end" "lacks beginPlugin, endPlugin, pluginInfo, so tarvex.exe cannot start it; its export table points past the end of the file"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

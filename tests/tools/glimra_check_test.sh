#!/usr/bin/env bash
# Runs glimra-check on sample settings files and compares what it prints and
# its exit status with what a user must see.
set -u
checker=$1 samples=$2
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
expect_line "very long line" 1 "^line 1: warning: is 5014 characters long" "$work/long.rc"
expect_line "long line's value" 1 "^clrOSD +11111111 " "$work/long.rc"
expect_line "bad usage" 2 "^usage:" --help

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

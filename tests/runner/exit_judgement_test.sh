#!/usr/bin/env bash
# How scripts/run-windows.sh judges a program whose Unix process Wine's server
# kills with SIGKILL: the server does so when the process is still there half
# a second after its last Windows thread ended. Here the processes' exit is
# held back for 1 s (strace), so the server kills the finished programs, as
# it may an emulated x86 on a busy machine. The programs are the end-to-end
# host with no plug-in and no test to run, which ends with "[  PASSED  ] 0
# tests.", and other_program.exe, which never ends by itself.
#
#   tests/runner/exit_judgement_test.sh BIN_DIR E2E_HOST
set -u
runner=$(dirname "$0")/../../scripts/run-windows.sh
bin=$1 host=$2
passed=0 failed=0
expect() { # WHAT EXPECTED_STATUS ACTUAL_STATUS
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    echo "FAIL: $1: status $3, not $2"
    failed=$((failed + 1))
  fi
}
held_exit="strace -f -qq -o /dev/null -e trace=exit_group -e inject=exit_group:delay_enter=1000000"
finished=(--private-display --fresh-prefix "$host" --plugin unused --gtest_filter=NoSuchGroup.*)

GLIMRA_LOADER_WRAPPER=$held_exit GLIMRA_EXIT_LINE='^\[  PASSED  \] [0-9]+ tests?\.$' \
  "$runner" "${finished[@]}"
expect "a finished program killed as it exits, judged by its exit code and last line" 0 $?

GLIMRA_LOADER_WRAPPER=$held_exit "$runner" "${finished[@]}"
expect "the same, with no last line named: judged by the killed process's status" 137 $?

GLIMRA_LOADER_WRAPPER=$held_exit GLIMRA_EXIT_LINE='^a line it never prints$' \
  "$runner" "${finished[@]}"
expect "the same program, its last line not the one named" 1 $?

GLIMRA_EXIT_LINE='^a line it never prints$' "$runner" --private-display --fresh-prefix \
  "$bin/other_program.exe" no-such-kind
expect "a program that fails by itself, by its exit code" 2 $?

# Killed while it runs: Windows then reads its exit code as 0, and only the
# missing last line tells.
GLIMRA_EXIT_LINE='^a line it never prints$' "$runner" --private-display --fresh-prefix \
  "$bin/other_program.exe" topmost 00C800 100 100 &
running=$!
for _ in $(seq 300); do
  pgrep -f '^Z:.*other_program\.exe topmost' >/dev/null && break
  sleep 0.1
done
sleep 1
pkill -KILL -f '^Z:.*other_program\.exe topmost'
wait "$running"
expect "a program killed while it runs" 1 $?

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

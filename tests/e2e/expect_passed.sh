#!/usr/bin/env bash
# Runs a GoogleTest program and passes only when it reports at least one test
# passed, none failed, and then exits 0: a crash or a watchdog stop after the
# verdict (in endPlugin, at unload, at exit) fails the run too.
#
#   tests/e2e/expect_passed.sh COMMAND [ARGUMENTS...]
set -u
# A GoogleTest program that passed ends with this line: the runner judges by
# it and the Windows exit code when Wine kills the finished program's process.
export GLIMRA_EXIT_LINE='^\[  PASSED  \] [0-9]+ tests?\.$'
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
verdict_ok=true
grep -q '\[  PASSED  \] [1-9]' "$output" || { echo "expect_passed: no test passed"; verdict_ok=false; }
grep -q '\[  FAILED  \]' "$output" && { echo "expect_passed: a test failed"; verdict_ok=false; }
[ "$status" -eq 0 ] || echo "expect_passed: the program exited with status $status"
$verdict_ok && [ "$status" -eq 0 ]

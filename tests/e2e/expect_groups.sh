#!/usr/bin/env bash
# Passes when every test group that a GoogleTest program lists is among the
# groups given, each of which has its own CTest entry.
#
#   tests/e2e/expect_groups.sh "GROUP;GROUP;..." COMMAND [ARGUMENTS...] --gtest_list_tests
set -u -o pipefail
expected=";$1;"
shift
# A program that fails, whatever it listed before, fails the check.
listed=$("$@" | tr -d '\r' | sed -n 's/^\([A-Za-z0-9_]*\)\.$/\1/p') ||
  { echo "expect_groups: the program failed (status $?)"; exit 1; }
[ -n "$listed" ] || { echo "expect_groups: the program listed no groups"; exit 1; }
missing=0
for group in $listed; do
  case "$expected" in
  *";$group;"*) echo "listed and run: $group" ;;
  *) echo "expect_groups: group $group has no CTest entry and would never run"; missing=1 ;;
  esac
done
exit $missing

#!/usr/bin/env bash
# Builds everything and runs every test: lint, native unit and tool tests
# (plain and with sanitizers), a bounded fuzz run of each fuzzer, and for each
# of the x86 and x64 DLLs the DLL checks and the end-to-end and soak tests in a
# real host under Wine; then the release package. Prints how long each part
# and the whole took.
#
# The end-to-end groups mostly wait on timers: they run side by side, each on
# a screen and a Wine prefix of its own, at normal priority. Everything that
# only needs the processor (lint, fuzzing, the soaks, the other tests) runs
# beside them at the lowest priority, so that it takes only the time that the
# timing checks leave over.
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)
took() { echo "($(($(date +%s) - started)) s since the start)"; }
scripts/install-deps.sh
# The Wine prefix that every test copies is booted beside the builds, so that
# no test's time limit is spent waiting for it.
mkdir -p build
scripts/run-windows.sh --boot-template >build/wine-boot.log 2>&1 &
booting=$!
scripts/build-all.sh
echo "== release package $(took)"
scripts/make-release.sh >/dev/null
echo "== Wine prefix $(took)"
wait "$booting" || { cat build/wine-boot.log; exit 1; }

logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
jobs_started=()
# start NAME COMMAND...: runs in the background, its output in $logs/NAME.log.
start() {
  local name=$1
  shift
  (
    begun=$(date +%s)
    if "$@" >"$logs/$name.log" 2>&1; then verdict=passed; else verdict=FAILED; fi
    echo "$verdict in $(($(date +%s) - begun)) s" >"$logs/$name.result"
  ) &
  jobs_started+=("$name")
}
# Where x86 programs run on an emulator, each takes a processor to itself.
groups_at_once=4
grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 && groups_at_once=1
echo "== tests, side by side $(took)"
start e2e-x86 ctest --preset mingw-x86 -E soak -j "$groups_at_once" --output-on-failure
start e2e-x64 ctest --preset mingw-x64 -E soak -j 4 --output-on-failure
start soak-x86 nice -n 19 ctest --preset mingw-x86 -R soak -V
start soak-x64 nice -n 19 ctest --preset mingw-x64 -R soak -V
start fuzz nice -n 19 ctest --preset fuzz -j 2 --output-on-failure
start native nice -n 19 ctest --preset native --output-on-failure
start native-asan nice -n 19 ctest --preset native-asan --output-on-failure
start release nice -n 19 tests/release/check_release.sh
start lint nice -n 19 scripts/lint.sh
wait

failed=()
for name in "${jobs_started[@]}"; do
  result=$(cat "$logs/$name.result" 2>/dev/null || echo "FAILED without a verdict")
  echo "   $name: $result"
  case "$result" in
  passed*) ;;
  *)
    failed+=("$name")
    tail -n 60 "$logs/$name.log"
    ;;
  esac
done
elapsed=$(($(date +%s) - started))
echo "== took $((elapsed / 60)) min $((elapsed % 60)) s (logs in $logs)"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All tests passed."

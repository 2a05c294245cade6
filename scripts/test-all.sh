#!/usr/bin/env bash
# Builds everything and runs every test: lint, native unit and tool tests
# (plain and with sanitizers), a bounded fuzz run, and for each of the x86 and
# x64 DLLs the DLL checks and the end-to-end and soak tests in a real host
# under Wine; then the release package. Prints how long it all took.
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)
took() { echo "($(($(date +%s) - started)) s since the start)"; }
scripts/install-deps.sh
scripts/build-all.sh
failed=()
echo "== lint $(took)"
scripts/lint.sh || failed+=(lint)
for preset in native native-asan fuzz mingw-x86 mingw-x64; do
  echo "== test $preset $(took)"
  ctest --preset "$preset" || failed+=("$preset")
done
echo "== release package $(took)"
{ scripts/make-release.sh >/dev/null && tests/release/check_release.sh; } || failed+=(release)
elapsed=$(($(date +%s) - started))
echo "== took $((elapsed / 60)) min $((elapsed % 60)) s"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test presets passed."

#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests (plain and with
# sanitizers), the DLL table checks for x64 and x86, and the end-to-end tests
# of the x64 DLL in a real host under Wine.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build-all.sh
failed=()
echo "== lint"
scripts/lint.sh || failed+=(lint)
for preset in native native-asan mingw-x86 mingw-x64; do
  echo "== test $preset"
  ctest --preset "$preset" || failed+=("$preset")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED presets: ${failed[*]}"
  exit 1
fi
echo "All test presets passed."

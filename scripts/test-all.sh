#!/usr/bin/env bash
# Builds everything and runs every test: lint, native unit and tool tests
# (plain and with sanitizers), a bounded fuzz run, the DLL checks for x64 and
# x86, the end-to-end and soak tests of the x64 DLL in a real host under Wine,
# and the release package.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build-all.sh
failed=()
echo "== lint"
scripts/lint.sh || failed+=(lint)
for preset in native native-asan fuzz mingw-x86 mingw-x64; do
  echo "== test $preset"
  ctest --preset "$preset" || failed+=("$preset")
done
echo "== release package"
{ scripts/make-release.sh >/dev/null && tests/release/check_release.sh; } || failed+=(release)
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED presets: ${failed[*]}"
  exit 1
fi
echo "All test presets passed."

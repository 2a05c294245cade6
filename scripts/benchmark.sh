#!/usr/bin/env bash
# Prints the performance figures: each DLL's display path and start under Wine
# on a private virtual screen, beside a bare display window measured in the
# same run (the floor), both DLLs' sizes, and the settings reader's cost per
# line natively. A run that fails stops it (pipefail: each run's output goes
# through tr).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in native-release mingw-x64 mingw-x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
echo "== DLL sizes (with version resource)"
ls -l build/mingw-x86/bin/GLIMRA.dll build/mingw-x64/bin/GLIMRA.dll | awk '{print $5, "bytes", $NF}'
# Where the kernel cannot run 32-bit programs, x86 Wine runs on an emulator.
# 100,000 texts a side keep the p99 ratio within a hundredth from run to run
# (30,000 left it 0.98 to 1.06); an emulated x86 text takes several times as
# long, so it gets 30,000.
x86_texts=100000
if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
  x86_label="x86, EMULATED by qemu-i386: not comparable with x64"
  x86_texts=30000
else
  x86_label="x86, 32-bit Wine run natively"
fi
# Each DLL on a plain screen, then on one of 144 dots per inch (150 %), where
# Wine from 9 on, like Windows 10, would stretch a host that is not DPI-aware,
# then on the plain screen at GLIMRA.position bottom-right, whose ratio to its
# floor should be the default place's. 100,000 texts a side and the covered
# round take longer than a test may. GLIMRA_BENCH_TEXTS, for a short run that
# checks this script, overrides the count; its figures are noise.
export GLIMRA_WINE_TIMEOUT=${GLIMRA_WINE_TIMEOUT:-3600}
for architecture in x64 x86; do
  label=$architecture texts=100000
  [ "$architecture" = x86 ] && label=$x86_label texts=$x86_texts
  texts=${GLIMRA_BENCH_TEXTS:-$texts}
  for run in 96 144 96:bottom-right; do
    dpi=${run%%:*} position=${run#"$dpi"}
    position=${position#:}
    echo "== display under Wine $(wine --version) at $dpi dpi${position:+ at $position} ($label)"
    GLIMRA_WINE_DPI=$dpi GLIMRA_WINEPREFIX=$PWD/build/mingw-$architecture/wineprefix \
      scripts/run-windows.sh --private-display --fresh-prefix "build/mingw-$architecture/bench/tarvex.exe" \
      --plugin "Z:$PWD/build/mingw-$architecture/bin/GLIMRA.dll" --texts "$texts" \
      ${position:+--position "$position"} | tr -d '\r'
  done
done
echo "== settings reader (native)"
build/native-release/bench/settings_benchmark --benchmark_min_time=0.2

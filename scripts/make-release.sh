#!/usr/bin/env bash
# Builds both DLLs and packs build/release/glimra-1.0.zip: the x86 and x64
# GLIMRA.dll, the settings checker, a commented sample settings file, the
# user guide and SHA256SUMS of the three programs; build/release/SHA256SUMS
# holds the ZIP's own sum.
#
# The same sources give the same ZIP, byte for byte, wherever and whenever it
# is made: the programs carry no build time, and the entries come in a fixed
# order with fixed permissions, no extra fields, and the time
# SOURCE_DATE_EPOCH (seconds since 1970; the last commit's time unless set).
set -euo pipefail
cd -P "$(dirname "$0")/.."
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  else
    SOURCE_DATE_EPOCH=315532800
    echo "make-release: not a git checkout and SOURCE_DATE_EPOCH is not set: the entries" \
      "are dated 1980-01-01; set SOURCE_DATE_EPOCH to the release's time instead" >&2
  fi
fi
case $SOURCE_DATE_EPOCH in
'' | *[!0-9]*) echo "make-release: SOURCE_DATE_EPOCH must be seconds since 1970" >&2 && exit 1 ;;
esac
export SOURCE_DATE_EPOCH

for preset in mingw-x86 mingw-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target glimra glimra-check
done
stage=build/release/glimra-1.0
rm -rf "$stage" build/release/glimra-1.0.zip build/release/SHA256SUMS
mkdir -p "$stage/x86" "$stage/x64"
cp build/mingw-x86/bin/GLIMRA.dll "$stage/x86/"
cp build/mingw-x64/bin/GLIMRA.dll "$stage/x64/"
cp build/mingw-x86/bin/glimra-check.exe "$stage/"
cp release/glimrarc release/USER-GUIDE.txt "$stage/"
# Windows users open these in Notepad: CRLF line ends.
sed -i 's/$/\r/' "$stage/glimrarc" "$stage/USER-GUIDE.txt"
# LF: the format that sha256sum -c reads everywhere.
programs=(x86/GLIMRA.dll x64/GLIMRA.dll glimra-check.exe)
(cd "$stage" && sha256sum "${programs[@]}" >SHA256SUMS)

# Nothing of the packer's machine: not its umask, the files' times, the order
# in which the file system lists them, nor (-X) its owners and exact times in
# extra fields. No directory entries (-D); zip stores local time, hence UTC.
find "$stage" -type f -exec chmod 644 {} +
(cd "$stage" && chmod 755 "${programs[@]}")
find "$stage" -type f -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
(cd build/release && find glimra-1.0 -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D glimra-1.0.zip -@)
(cd build/release && sha256sum glimra-1.0.zip >SHA256SUMS)

echo "Made build/release/glimra-1.0.zip, dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T UTC'):"
unzip -l build/release/glimra-1.0.zip
cat build/release/SHA256SUMS

#!/usr/bin/env bash
# Checks a built GLIMRA.dll: it exports exactly the three entry points,
# undecorated, and imports only from Windows system DLLs and the host.
set -u
objdump=$1 dll=$2
allowed_imports='^(KERNEL32\.dll|USER32\.dll|GDI32\.dll|msvcrt\.dll|tarvex\.exe)$'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

table=$("$objdump" -p "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }

# Export rows look like "	[   0] +base[   1]  0000 beginPlugin".
exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^\t\[/{print $NF; next} on{on=0}' <<<"$table" | sort | tr '\n' ' ')
[ "$exports" = "beginPlugin endPlugin pluginInfo " ] || fail "exports are '$exports'"
grep -q 'Name .*GLIMRA.dll' <<<"$table" || fail "export directory does not name GLIMRA.dll"

imports=$(awk '/DLL Name:/{print $3}' <<<"$table" | sort -u)
[ -n "$imports" ] || fail "no import table found"
for module in $imports; do
  [[ $module =~ $allowed_imports ]] || fail "imports from $module"
done
grep -q 'DLL Name: tarvex.exe' <<<"$table" || fail "does not import from tarvex.exe"
for function in GetTXWnd GetTarvexPath FileExists FileOpen ReadNextCommand FileClose; do
  awk '/DLL Name: tarvex.exe/{on=1; next} /DLL Name:/{on=0} on' <<<"$table" | grep -qw "$function" ||
    fail "does not import $function from tarvex.exe"
done

size=$(stat -c %s "$dll")
echo "$dll: exports: $exports| imports: $(echo $imports) | $size bytes"
[ "$failures" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
[ "$failures" -eq 0 ]

#!/usr/bin/env bash
# Checks a built GLIMRA.dll: it exports exactly the three entry points,
# undecorated, imports only from Windows system DLLs and the host, carries its
# version resource and no time of its build, and stays small.
set -u
objdump=$1 dll=$2
allowed_imports='^(KERNEL32\.dll|USER32\.dll|GDI32\.dll|msvcrt\.dll|tarvex\.exe)$'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

table=$("$objdump" -p "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }

# The name table's rows end in the name: "	[   0] beginPlugin" under the heading
# "[Ordinal/Name Pointer] Table" up to binutils 2.40; from 2.44 on the heading
# ends in " -- Ordinal Base 1", a line of column names follows, and the rows
# read "	[   0] +base[   1]  0000 beginPlugin".
exports=$(awk '/^\[Ordinal\/Name Pointer\] Table( -- Ordinal Base [0-9]+)?$/{on=1; next}
  on && /^\t +Ordinal +Hint +Name$/{next} on && /^\t\[/{print $NF; next} on{on=0}' <<<"$table" |
  sort | tr '\n' ' ')
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

# The x86 DLL must load on Windows 2000: what a later Windows added is looked
# up at run time, never imported. These are the system functions it may
# import, each one in Windows 2000; a new one is checked there, then added.
windows_2000_functions=' atoi calloc free memcmp memcpy memmove memset strlen strrchr
  FreeLibrary GetModuleFileNameA GetModuleHandleA GetProcAddress GetSystemDirectoryA
  IsDBCSLeadByte LoadLibraryA
  BeginPaint CreateWindowExA DefWindowProcA DestroyWindow DrawTextA EndPaint GetClientRect
  GetDC GetDesktopWindow GetTopWindow GetWindow GetWindowRect GetWindowTextW InvalidateRect
  IsWindowVisible KillTimer LoadCursorA MessageBoxA NotifyWinEvent PtInRect RegisterClassExA
  ReleaseDC SendMessageA SetTimer SetWindowPos SetWindowTextA ShowWindow SystemParametersInfoA
  UnregisterClassA
  CreateFontA DeleteObject GetDeviceCaps GetStockObject SelectObject SetBkMode SetTextColor '
system_imports=$(awk '/DLL Name:/{host = $3 == "tarvex.exe"; next} /^\tvma:/{next}
  !host && /^\t[0-9a-f]+[ \t]+[0-9]+ +[A-Za-z_]/{print $NF}' <<<"$table")
[ -n "$system_imports" ] || fail "no imported system function found"
for function in $system_imports; do
  [[ $windows_2000_functions == *[[:space:]]$function[[:space:]]* ]] ||
    fail "imports $function, which is not among the functions known to be in Windows 2000"
done

# No time of the build: the stamps of the file header, the export directory
# and the resource tables are each 0 or, where it is set, SOURCE_DATE_EPOCH.
check_stamp() { # WHERE HEX
  local stamp=$((16#$2))
  [ "$stamp" -eq 0 ] || [ "$stamp" = "${SOURCE_DATE_EPOCH:-}" ] ||
    fail "$1 time stamp $stamp ($(date -u -d "@$stamp")) is neither 0 nor SOURCE_DATE_EPOCH: a build's time"
}
pe_header=$(od -An -t u4 --endian=little -j 60 -N 4 "$dll")
check_stamp "file header's" "$(od -An -t x4 --endian=little -j $((pe_header + 8)) -N 4 "$dll" | tr -d ' ')"
export_stamp=$(sed -n 's|^Time/Date stamp[ \t]*\([0-9a-f]*\)$|\1|p' <<<"$table")
if [ -n "$export_stamp" ]; then
  check_stamp "export directory's" "$export_stamp"
else
  fail "no time stamp found in the export directory"
fi
while read -r stamp; do
  check_stamp "a resource table's" "$stamp"
done < <(sed -n 's/.* Time: \([0-9a-f]*\),.*/\1/p' <<<"$table")

# Version strings are UTF-16; each value follows its name.
version_strings=$(strings -el -n 3 "$dll")
version_value() { grep -A1 -x "$1" <<<"$version_strings" | sed -n 2p; }
[ "$(version_value FileVersion)" = "1.0" ] || fail "FileVersion is '$(version_value FileVersion)'"
[ "$(version_value ProductVersion)" = "1.0" ] || fail "ProductVersion is '$(version_value ProductVersion)'"
[ "$(version_value ProductName)" = "Glimra" ] || fail "ProductName is '$(version_value ProductName)'"
[ "$(version_value OriginalFilename)" = "GLIMRA.dll" ] || fail "OriginalFilename is '$(version_value OriginalFilename)'"
[ -n "$(version_value FileDescription)" ] || fail "no FileDescription"

size=$(stat -c %s "$dll")
[ "$size" -le 20480 ] || fail "$size bytes, more than 20 KB"
echo "$dll: exports: $exports| imports: $(echo $imports) | version $(version_value FileVersion) | $size bytes"
[ "$failures" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
[ "$failures" -eq 0 ]

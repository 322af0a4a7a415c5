#!/usr/bin/env bash
# kelvory.exe must run on a bare WinPE: a 64-bit GUI program for the image's
# machine (MACHINE: 8664 for x64, the default, or aa64 for ARM64) importing only
# Windows system DLLs, never a C++ runtime DLL that would have to lie beside it.
set -euo pipefail
exe=${1:?usage: check_imports.sh kelvory.exe}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
machine=${MACHINE:-8664}

headers=$("$objdump" -p "$exe")
status=0
# The machine field of the file header, read here rather than through objdump:
# the header starts where the 32-bit value at offset 0x3c points, with "PE\0\0".
header=$(od -An -tu4 -j 60 -N 4 "$exe" | tr -d ' ')
found=$(od -An -tx2 -j $((header + 4)) -N 2 "$exe" | tr -d ' ')
[ "$found" = "$machine" ] || { echo "machine 0x$found, not 0x$machine"; status=1; }
grep -Eq 'file format (pei-x86-64|coff-arm64)' <<<"$headers" || { echo "not a 64-bit PE image"; status=1; }
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]+\(Windows GUI\)' <<<"$headers" || { echo "not a GUI program"; status=1; }

# comctl32 is the one import outside the known DLLs; the manifest binds it to
# version 6 from the side-by-side store in System32.
allowed='^(kernel32|user32|gdi32|msvcrt|comctl32)\.dll$'
imports=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers")
echo "imports: $(tr '\n' ' ' <<<"$imports")"
while read -r dll; do
  [[ "$dll" =~ $allowed ]] || { echo "imports $dll, which a bare WinPE does not have"; status=1; }
done <<<"$imports"
[ -n "$imports" ] || { echo "no import table read"; status=1; }
exit $status

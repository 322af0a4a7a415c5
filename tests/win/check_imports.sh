#!/usr/bin/env bash
# kelvory.exe must run on a bare WinPE: a 64-bit GUI program importing only
# Windows system DLLs, never a C++ runtime DLL that would have to lie beside it.
set -euo pipefail
exe=${1:?usage: check_imports.sh kelvory.exe}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

headers=$("$objdump" -p "$exe")
status=0
grep -q 'file format pei-x86-64' <<<"$headers" || { echo "not a 64-bit PE image"; status=1; }
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

#!/usr/bin/env bash
# What the real kelvory.exe loads: with no kelvory.ini no SHELL32 until the first
# start, and then SHELL32 from System32, never a copy named like it that lies
# beside the launcher.
source "$(dirname "$0")/lib.sh"

start_display
app="$work/app"
stage "$app"
# A planted copy: a DLL of our own under SHELL32's name. None for OLE32: Wine's
# IMM32 resolves its delayed import of OLE32 by the old search order, the
# program's folder first, even after the search is restricted to System32, and
# then maps its own OLE32 under the planted file's name. On Windows OLE32 is a
# known DLL and always comes from System32.
cp "$bin/dll-search/dwmapi.dll" "$app/shell32.dll"
log="$app/launches.log"
start_launcher "$app/kelvory.exe"

modules() { window_info modules | sed -n 's/^module //p' | tr 'A-Z' 'a-z'; }
loaded=$(modules)
echo "$loaded"
check "the module list is read" grep -q 'kelvory\.exe$' <<<"$loaded"
check "no SHELL32 before the first start" bash -c '! grep -q "shell32\.dll$" <<<"$0"' "$loaded"
# OLE32 cannot be checked here: Wine's X11 driver loads it into every program
# that makes a window. The import check shows that kelvory.exe does not.

click_button Image6
check "the restart button starts wpeutil" wait_for_lines "$log" 1
loaded=$(modules)
echo "$loaded"
for dll in shell32 ole32; do
  check "$dll.dll comes from System32" grep -qx "c:\\\\windows\\\\system32\\\\$dll\.dll" <<<"$loaded"
done
check "the planted shell32.dll is not loaded" bash -c '! grep -qF "$1" <<<"$0"' "$loaded" \
  "$(sed 's|/|\\|g' <<<"z:$app" | tr 'A-Z' 'a-z')\\shell32.dll"

finish

#!/usr/bin/env bash
# What scripts/run says about each entry of kelvory.ini, from the buttons the
# real kelvory.exe shows under Wine: a button, or why none. Wine's icon
# extraction does not expand a placeholder; its file lookups ignore letter
# case, and so does the report's look into Wine's drives.
source "$(dirname "$0")/lib.sh"
export LC_ALL=C.UTF-8
source "$root/scripts/lib/kelvory-ini"

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/alpha.exe"
cp "$bin/windowinfo.exe" "$app/no-icon.exe"
mkdir -p "$app/folder.exe"
folder=$(sed 's|/|\\|g' <<<"Z:$app")
cat >"$app/kelvory.ini" <<INI
[prog1]
exe=$folder\\alpha.exe
[prog2]
exe=%SystemRoot%\\notepad.exe
[prog3]
exe=$folder\\gone.exe
[prog4]
exe=$folder\\NO-ICON.EXE
[prog5]
exe=$folder\\folder.exe
INI
start_launcher "$app/kelvory.exe"
buttons=$(window_info | awk '$1 == "image" && $7 == 1 { print $2 }')
report=$(ini_report_under_wine "$app/kelvory.ini" "$buttons")
echo "$report"

while IFS='|' read -r entry said; do
  check "prog$entry: $said" grep -qxF -- "  prog$entry: ${said//FOLDER/$folder}" <<<"$report"
done <<'EOF2'
1|FOLDER\alpha.exe: a button
2|%SystemRoot%\notepad.exe: no button: written with a placeholder, which Wine's icon extraction does not expand (a click would start the expanded path)
3|FOLDER\gone.exe: no button: no such file
4|FOLDER\NO-ICON.EXE: no button: the file holds no icon
5|FOLDER\folder.exe: no button: a folder, not a program
EOF2

window_info close-main
check "a close request ends the program" wait_for_exit
finish

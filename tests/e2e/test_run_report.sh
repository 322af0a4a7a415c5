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
folder=$(wine_path "$app")
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

# --- scripts/run itself, on this display and in this prefix -----------------
# run_script <args>: scripts/run in the background; its output in run.out.
run_script() {
  "$root/scripts/run" "$@" >"$work/run.out" 2>&1 &
  runner=$!
}
reported() { grep -q '^  prog' "$work/run.out"; }
# close_run: closes the launcher once scripts/run has reported, and waits for it.
close_run() {
  wait_until reported || true
  window_info close-main || true
  wait "$runner" || true
}
# An ini whose name begins with a dash, after --, that 20 MB of comment lines
# make slow to read at start-up: the report must come once the buttons exist.
slow=$work/-slow.ini
{ awk 'BEGIN { for (n = 0; n < 300000; ++n) print "; a comment line that the profile reader reads past at start-up" }'
  printf '[prog1]\r\nexe=%s\\alpha.exe\r\n' "$folder"; } >"$slow"
run_script -- "$slow"
close_run
cat "$work/run.out"
check "scripts/run takes an ini named -slow.ini after --" grep -qF "Staged " "$work/run.out"
check "and reports prog1's button once the slow start-up has made it" grep -qxF "  prog1: $folder\alpha.exe: a button" "$work/run.out"

# The staged copy, given as the file to stage, stays as it is, edited or not.
staged=$root/build/run/kelvory.ini
printf '[prog2]\r\nexe=%s\\alpha.exe\r\n' "$folder" >"$staged"
cp "$staged" "$work/edited.ini"
run_script "$staged"
close_run
check "scripts/run build/run/kelvory.ini stages that file" cmp -s "$staged" "$work/edited.ini"
check "and reports its entry" grep -qxF "  prog2: $folder\alpha.exe: a button" "$work/run.out"

# A prefix made for the first time while another Wine program of it runs: the
# making never waits for that program.
fresh=$work/fresh-prefix
rm -rf "$fresh" "$fresh.lock"
(export WINEPREFIX=$fresh; cd "$app" && exec "$WINE" kelvory.exe >/dev/null 2>&1) &
other=$!
check "a first wine-prefix returns while another program of the prefix runs" \
  timeout 240 env KELVORY_WINEPREFIX="$fresh" "$root/scripts/lib/wine-prefix"
check "and marks the prefix ready" [ -f "$fresh/.kelvory-ready" ]
check "the other program still runs" kill -0 "$other"
WINEPREFIX=$fresh "$WINESERVER" -k 2>/dev/null || true
wait "$other" 2>/dev/null || true
finish

#!/usr/bin/env bash
# Ending the program from outside, and the application title derived from the
# executable's file name even when that lies in a folder deeper than MAX_PATH.
source "$(dirname "$0")/lib.sh"

start_display

# A close request to the application window (the taskbar button's Close) ends the program.
stage "$work/app"
start_launcher "$work/app/kelvory.exe"
window_info close-app
check "closing the application window ends the program" wait_for_exit

# The end of the Windows session: the launcher agrees, and ends when it is confirmed.
start_launcher "$work/app/kelvory.exe"
answer=$(window_info end-session)
check "the session's end is agreed to" [ "$answer" = "query-end-session 1" ]
check "the confirmed end of the session ends the program" wait_for_exit

# A folder path of more than 260 characters: the whole module path is read, so
# the title is still the file name's.
deep="$work/deep"
for part in 1 2 3 4 5 6 7; do deep="$deep/folder-$part-of-a-deep-tree-on-a-technicians-usb-stick"; done
rm -rf "$work/deep"; mkdir -p "$deep"
cp "$bin/kelvory.exe" "$deep/KELVORY.EXE"
# Wine maps the Unix root to drive Z:. (winepath itself cuts its answer at 260.)
windows_path="$(wine_path "$deep")\\KELVORY.EXE"
echo "path of ${#windows_path} characters: $windows_path"
check "the path is longer than MAX_PATH" [ "${#windows_path}" -gt 260 ]
start_launcher "$deep/KELVORY.EXE"
titles=$(xdotool search --name '^Kelvory$' 2>/dev/null | wc -l)
check "the taskbar title is 'Kelvory'" [ "$titles" -ge 1 ]
window_info close-main
check "a close request ends it too" wait_for_exit
finish

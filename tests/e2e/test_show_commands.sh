#!/usr/bin/env bash
# The show command a program is started with: maximised gives a maximised first
# show, minimised without activation a minimised start (the taskbar button only,
# the window appearing when it is restored), and anything else the normal,
# centred show. Wine does not substitute the start's show command for the first
# ShowWindow as Windows does; the launcher applies it itself, so this holds on both.
source "$(dirname "$0")/lib.sh"

start_display
stage "$work/app"
exe_path=$(wine_path "$work/app/kelvory.exe")

# start_with <show command> <pattern>: starts the launcher with the show command
# and prints its window line once the line matches the pattern, or the last line
# seen when it does not within the deadline.
start_with() {
  "$WINE" "$bin/windowinfo.exe" start "$1" "$exe_path" >/dev/null 2>&1
  line=""
  wait_until window_line_matches "$2" || true
  echo "$line"
}
window_line_matches() { line=$(window_info | grep '^window '); grep -q "$1" <<<"$line"; }

# window <left> <top> <right> <bottom> <visible> <maximised> <taskbar button minimised>
maximised=' 1 1 0$'
line=$(start_with 3 "$maximised"); echo "maximised: $line"
check "a maximised start shows the window maximised" grep -q "$maximised" <<<"$line"
window_info close-main; check "and it closes" wait_until none_running "$work/app/kelvory.exe"

minimised=' 0 0 1$'
line=$(start_with 7 "$minimised"); echo "minimised: $line"
check "a minimised start shows only the minimised taskbar button" grep -q "$minimised" <<<"$line"
window_info close-app; check "and it closes" wait_until none_running "$work/app/kelvory.exe"

# Centred on the virtual screen, the odd pixel dropped (scripts/lib/xvfb-display).
left=$(((KELVORY_SCREEN_WIDTH - KELVORY_WINE_FORM_WIDTH) / 2))
top=$(((KELVORY_SCREEN_HEIGHT - KELVORY_WINE_FORM_HEIGHT) / 2))
normal="^window $left $top $((left + KELVORY_WINE_FORM_WIDTH)) $((top + KELVORY_WINE_FORM_HEIGHT)) 1 0 0\$"
for show in 1 2 6 10; do
  line=$(start_with "$show" "$normal"); echo "show $show: $line"
  check "show command $show gives the normal centred show" grep -q "$normal" <<<"$line"
  window_info close-main; check "and it closes" wait_until none_running "$work/app/kelvory.exe"
done
finish

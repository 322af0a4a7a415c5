#!/usr/bin/env bash
# The show command a program is started with: maximised gives a maximised first
# show, minimised without activation a minimised start (the taskbar button only,
# the window appearing when it is restored), and anything else the normal,
# centred show. Wine does not substitute the start's show command for the first
# ShowWindow as Windows does; the launcher applies it itself, so this holds on both.
source "$(dirname "$0")/lib.sh"

start_display
stage "$work/app"
exe_path=$(sed 's|/|\\|g' <<<"Z:$work/app/kelvory.exe")

# start <show command>: starts the launcher with it and prints its window line.
start_with() {
  "$WINE" "$bin/windowinfo.exe" start "$1" "$exe_path" >/dev/null 2>&1
  sleep 1.5
  window_info | grep '^window '
}

# window <left> <top> <right> <bottom> <visible> <maximised> <taskbar button minimised>
line=$(start_with 3); echo "maximised: $line"
check "a maximised start shows the window maximised" grep -q ' 1 1 0$' <<<"$line"
window_info close-main; check "and it closes" wait_for_exit

line=$(start_with 7); echo "minimised: $line"
check "a minimised start shows only the minimised taskbar button" grep -q ' 0 0 1$' <<<"$line"
window_info close-app; sleep 1

for show in 1 2 6 10; do
  line=$(start_with "$show"); echo "show $show: $line"
  check "show command $show gives the normal centred show" grep -q '^window 410 342 614 425 1 0 0$' <<<"$line"
  window_info close-main; sleep 0.5
done
finish

#!/usr/bin/env bash
# The real kelvory.exe, clicked with real X mouse input: each fixed button
# starts its program, once per click; a close request ends the program.
source "$(dirname "$0")/lib.sh"

start_display
stage "$work/app"
log="$work/app/launches.log"
start_launcher "$work/app/kelvory.exe"

info=$(window_info)
echo "$info"
check "the window is shown" grep -q '^window .* 1 0 0$' <<<"$info"
check "the client area is 198 x 61" grep -q '^client [0-9-]* [0-9-]* 198 61$' <<<"$info"
check_centred "$info"
check "exactly the four fixed buttons" [ "$(grep -c '^image .* 1$' <<<"$info")" -eq 4 ]

# The four icons are painted: each button's square holds more than a flat colour.
screenshot "$work/fixed.png"
check_icons_painted "$info" Image3 Image2 Image4 Image6

# Shut down and restart reach the recorder standing in for wpeutil, with show
# mode 10 (SW_SHOWDEFAULT). Nothing here can turn the machine off.
click_button Image4
check "shut down starts wpeutil once" wait_for_lines "$log" 1
click_button Image6
check "restart starts wpeutil once more" wait_for_lines "$log" 2
cat "$log"
check "shut down asks for 'shutdown' with show mode 10" grep -q $'^wpeutil.exe\t.* shutdown\t10\r$' <(sed -n 1p "$log")
check "restart asks for 'reboot' with show mode 10" grep -q $'^wpeutil.exe\t.* reboot\t10\r$' <(sed -n 2p "$log")

# A double click is one click; right and middle clicks are none. A click on
# restart afterwards marks the end: once its start is logged, everything before
# it has been handled.
read -r x y < <(button_centre Image4)
double_click_at "$x" "$y"
click_at "$x" "$y" 3
click_at "$x" "$y" 2
click_button Image6
check "the marking click is logged" wait_for_lines "$log" 4
check "a double click starts once, right and middle clicks never" [ "$(line_count "$log")" -eq 4 ]
check "the double click asked for 'shutdown'" grep -q $'^wpeutil.exe\t.* shutdown\t10\r$' <(sed -n 3p "$log")
check "the marking click asked for 'reboot'" grep -q $'^wpeutil.exe\t.* reboot\t10\r$' <(sed -n 4p "$log")

# The command prompt and Task Manager come from Wine's own system folder: look
# for the process, then end it so its window cannot swallow the next click.
process_found() { found=$(wine_processes "$1"); [ -n "$found" ]; }
previous=""
for pair in "Image3 cmd.exe" "Image2 taskmgr.exe"; do
  set -- $pair
  [ -z "$previous" ] || wait_until none_running "$previous" || true
  click_button "$1"
  found=""
  wait_until process_found "system32.$2" || true
  check "$1 starts $2" [ -n "$found" ]
  [ -n "$found" ] && kill $found 2>/dev/null || true
  previous="system32/$2"
done

# A close request to the main window ends the program.
window_info close-main
check "a close request ends the program" wait_for_exit
finish
